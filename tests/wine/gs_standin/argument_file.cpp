#include "tests/wine/gs_standin/argument_file.h"

#include "common/ghostscript_arguments.h"
namespace plumeta::gs_standin {
namespace {

constexpr int kMaxDepth = 8;

void TranslateInto(const std::vector<std::string>& arguments,
                   const PathMap& unix_path, const FileReader& read_file,
                   int depth, bool* code, Translation* result) {
  static const std::string kOutput = "-sOutputFile=";
  static const std::string kLog = "-sstdout=";
  for (const std::string& argument : arguments) {
    if (!result->error.empty()) return;
    // After -c, PostScript up to the next option.
    if (*code && (argument.empty() || argument[0] != '-')) {
      result->arguments.push_back(argument);
      continue;
    }
    *code = argument == "-c";
    if (argument.size() > 1 && argument[0] == '@') {
      const std::string name = argument.substr(1);
      const auto text = depth < kMaxDepth ? read_file(name) : std::nullopt;
      const auto inner =
          text ? SplitGhostscriptArgumentFile(*text) : std::nullopt;
      if (!inner) {
        result->error = "cannot read the argument file " + name;
        return;
      }
      TranslateInto(*inner, unix_path, read_file, depth + 1, code, result);
    } else if (argument.rfind("-I", 0) == 0) {
      continue;
    } else if (argument.rfind(kOutput, 0) == 0) {
      const std::string path = argument.substr(kOutput.size());
      if (path.empty() || path[0] == '%' || path[0] == '|') {
        result->error = "output to a pipe or device is refused: " + path;
        return;
      }
      const auto mapped = unix_path(path);
      if (!mapped) {
        result->error = "no Unix path for " + path;
        return;
      }
      result->output_file = path;
      result->arguments.push_back(kOutput + *mapped);
    } else if (argument.rfind(kLog, 0) == 0 && argument.size() > kLog.size() &&
               argument[kLog.size()] != '%') {
      const auto mapped = unix_path(argument.substr(kLog.size()));
      if (!mapped) {
        result->error = "no Unix path for " + argument;
        return;
      }
      result->arguments.push_back(kLog + *mapped);
    } else if (argument != "-" && !argument.empty() && argument[0] != '-') {
      const auto mapped = unix_path(argument);
      if (!mapped) {
        result->error = "no Unix path for " + argument;
        return;
      }
      result->arguments.push_back(*mapped);
    } else {
      result->arguments.push_back(argument);
    }
  }
}

}  // namespace

Translation Translate(const std::vector<std::string>& arguments,
                      const PathMap& unix_path, const FileReader& read_file) {
  Translation result;
  bool code = false;
  TranslateInto(arguments, unix_path, read_file, 0, &code, &result);
  return result;
}

}  // namespace plumeta::gs_standin
