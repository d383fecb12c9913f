// Host stand-in (Linux only). What the box's Ghostscript console stand-in
// makes of its command line before it runs the host's own Ghostscript:
// argument files ("@file") read as Ghostscript reads them, and the box's
// Windows paths in the arguments turned into the Linux paths they stand for.
//
// Ghostscript splits an argument file at whitespace outside quotes. A '#'
// that starts an argument comments out the rest of its line. A '"' opens a
// quoted part as the argument's first character or right after '=';
// inside it a '"' before whitespace closes it and any other '"' is literal.
// '\"' is a literal '"' anywhere, a backslash before a line end joins the
// next line on, and every other backslash is literal. A file that ends
// inside a quote is refused ("Unterminated quote"). Arguments given on the
// command line itself are taken as they are.
#ifndef PLATFORM_HOST_GHOSTSCRIPT_COMMAND_H_
#define PLATFORM_HOST_GHOSTSCRIPT_COMMAND_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/box_paths.h"

namespace plumeta::host {

// The arguments in an argument file's text; nullopt where Ghostscript stops
// with "Unterminated quote".
std::optional<std::vector<std::string>> SplitGhostscriptArgumentFile(
    const std::string& text);

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
// folders becomes ':'), the output file of -sOutputFile= and -o, a -s value
// that is a drive path or a list of them, and file operands. An output file
// that runs a command ("%pipe%...", "|...") is refused, as is a path the
// box cannot hold. False with `error` (a line for the user) on failure.
bool TranslateGhostscriptArguments(const std::vector<std::string>& arguments,
                                   const BoxPaths& paths,
                                   const FileReader& read_file,
                                   GhostscriptCommand* command,
                                   std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_GHOSTSCRIPT_COMMAND_H_
