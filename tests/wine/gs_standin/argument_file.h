// How the Ghostscript stand-in reads its command: the translation of a Windows
// command line into one for the native Ghostscript. Portable: the caller
// supplies the path mapping.
#ifndef TESTS_WINE_GS_STANDIN_ARGUMENT_FILE_H_
#define TESTS_WINE_GS_STANDIN_ARGUMENT_FILE_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plumeta::gs_standin {

struct Translation {
  std::vector<std::string> arguments;  // for the native Ghostscript
  std::string output_file;             // the Windows path of -sOutputFile
  std::string error;                   // why the command was refused
};

// Maps a Windows path to a Unix one; nullopt when it has none.
using PathMap = std::function<std::optional<std::string>(const std::string&)>;
// Reads a file named by a Windows path; nullopt when it cannot.
using FileReader =
    std::function<std::optional<std::string>(const std::string&)>;

// Turns the stand-in's own arguments into the native Ghostscript's:
// argument files are read and their arguments put in their place (argv
// takes them whole, without quotes), paths in -sOutputFile, -sstdout and
// input files are mapped, PostScript after -c and "-" (standard input) are
// kept, the Windows library folders (-I) are left out (the native
// Ghostscript has its own). An output to a pipe or a program is refused:
// the error is set.
Translation Translate(const std::vector<std::string>& arguments,
                      const PathMap& unix_path, const FileReader& read_file);

}  // namespace plumeta::gs_standin

#endif  // TESTS_WINE_GS_STANDIN_ARGUMENT_FILE_H_
