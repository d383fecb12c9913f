#include "tests/wine/gs_standin/argument_file.h"

#include <cctype>

namespace plumeta::gs_standin {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' ||
         c == '\v';
}

// The number of characters of a line end at `at` (CR LF, LF or CR), or 0.
std::size_t LineEnd(const std::string& text, std::size_t at) {
  if (at >= text.size()) return 0;
  if (text[at] == '\r') {
    return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
  }
  return text[at] == '\n' ? 1 : 0;
}

constexpr int kMaxDepth = 8;

void TranslateInto(const std::vector<std::string>& arguments,
                   const PathMap& unix_path, const FileReader& read_file,
                   const std::string& stdin_copy, int depth,
                   Translation* result) {
  static const std::string kOutput = "-sOutputFile=";
  for (const std::string& argument : arguments) {
    if (!result->error.empty()) return;
    if (argument.size() > 1 && argument[0] == '@') {
      const std::string name = argument.substr(1);
      const auto text = depth < kMaxDepth ? read_file(name) : std::nullopt;
      const auto inner = text ? SplitArgumentFile(*text) : std::nullopt;
      if (!inner) {
        result->error = "cannot read the argument file " + name;
        return;
      }
      TranslateInto(*inner, unix_path, read_file, stdin_copy, depth + 1,
                    result);
    } else if (argument == "-") {
      result->arguments.push_back(stdin_copy);
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
    } else if (!argument.empty() && argument[0] != '-') {
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

std::optional<std::vector<std::string>> SplitArgumentFile(
    const std::string& text) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  const std::size_t size = text.size();
  while (at < size) {
    if (IsSpace(text[at])) {
      ++at;
      continue;
    }
    if (text[at] == '#') {  // a comment to the line's end
      while (at < size && text[at] != '\n' && text[at] != '\r') ++at;
      continue;
    }
    std::string argument;
    bool quoted = false;
    while (at < size) {
      const char c = text[at];
      if (c == '\\') {
        if (const std::size_t end = LineEnd(text, at + 1)) {
          at += 1 + end;  // joins the next line on
          continue;
        }
        if (at + 1 < size && text[at + 1] == '"') {
          argument += '"';
          at += 2;
          continue;
        }
        argument += c;
        ++at;
        continue;
      }
      if (c == '"') {
        if (quoted) {
          // Closes only before whitespace or the end; else it is literal.
          if (at + 1 >= size) return std::nullopt;  // no line end after it
          if (IsSpace(text[at + 1])) {
            ++at;
            quoted = false;
            break;
          }
          argument += c;
          ++at;
          continue;
        }
        if (argument.empty() || argument.back() == '=') {
          quoted = true;
          ++at;
          continue;
        }
        argument += c;
        ++at;
        continue;
      }
      if (!quoted && IsSpace(c)) break;
      argument += c;
      ++at;
    }
    if (quoted) return std::nullopt;
    arguments.push_back(argument);
  }
  return arguments;
}

Translation Translate(const std::vector<std::string>& arguments,
                      const PathMap& unix_path, const FileReader& read_file,
                      const std::string& stdin_copy) {
  Translation result;
  TranslateInto(arguments, unix_path, read_file, stdin_copy, 0, &result);
  return result;
}

}  // namespace plumeta::gs_standin
