// Host stand-in (Linux only). What the box's Ghostscript console stand-in
// makes of its command line before it runs the host's own Ghostscript:
// argument files ("@file") read as Ghostscript reads them
// (SplitGhostscriptArgumentFile), and the box's Windows paths in the
// arguments turned into the Linux paths they stand for. Arguments given on
// the command line itself are taken as they are.
#ifndef PLATFORM_HOST_PRINT_GHOSTSCRIPT_COMMAND_H_
#define PLATFORM_HOST_PRINT_GHOSTSCRIPT_COMMAND_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/box/box_paths.h"

namespace plumeta::host {

// Reads the file at a Linux path; nullopt when it cannot be read.
using FileReader =
    std::function<std::optional<std::string>(const std::string& linux_path)>;

struct GhostscriptCommand {
  // The arguments for the host's Ghostscript.
  std::vector<std::string> arguments;
  // The Linux path of the output file when the arguments name one plain
  // file (not a device such as %stdout, not a pattern such as page%d.pdf).
  std::optional<std::string> output_file;
};

// Expands the argument files (nested ones too, ten deep at most) and
// translates the Windows paths: the include list of -I (';' between
// folders becomes ':'), the output file of -sOutputFile= and -o, the value
// of a -s option that names files or folders (stdout, FONTPATH, the resource
// and profile options) when it is a drive path or a list of them, and file
// operands. Other -s values, passwords among them, are kept as they are. An
// output file that runs a command ("%pipe%...", "|...") is refused, as is a
// path the box cannot hold. False with `error` (a line for the user) on
// failure.
bool TranslateGhostscriptArguments(const std::vector<std::string>& arguments,
                                   const BoxPaths& paths,
                                   const FileReader& read_file,
                                   GhostscriptCommand* command,
                                   std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_GHOSTSCRIPT_COMMAND_H_
