// How Ghostscript splits an argument file into arguments, written down
// independently of the code that writes such files, so tests can read back
// what a file would give Ghostscript. The host suite checks the same files
// against the real Ghostscript.
#ifndef TESTS_SUPPORT_GS_ARGUMENT_READER_H_
#define TESTS_SUPPORT_GS_ARGUMENT_READER_H_

#include <optional>
#include <string>
#include <vector>

namespace plumeta::testing {

// The arguments, or nullopt where Ghostscript stops with "Unterminated
// quote".
inline std::optional<std::vector<std::string>> ReadGhostscriptArguments(
    const std::string& text) {
  auto space = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
           c == '\f';
  };
  auto line_end_at = [&](std::size_t i) {
    if (i < text.size() && text[i] == '\r') {
      return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    }
    return i < text.size() && text[i] == '\n' ? 1 : 0;
  };
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && space(text[i])) ++i;
    if (i >= text.size()) break;
    if (text[i] == '#') {  // a comment to the end of the line
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    std::string argument;
    bool quoted = false;
    while (i < text.size()) {
      const char c = text[i];
      if (c == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
        argument += '"';
        i += 2;
      } else if (c == '\\' && line_end_at(i + 1) > 0) {
        i += 1 + line_end_at(i + 1);  // joins the next line on
      } else if (c == '"' && !quoted &&
                 (argument.empty() || argument.back() == '=')) {
        quoted = true;
        ++i;
      } else if (c == '"' && quoted) {
        // Closes only before whitespace; a quote as the file's last byte
        // leaves the quote open.
        if (i + 1 < text.size() && space(text[i + 1])) {
          quoted = false;
          ++i;
          break;
        }
        if (i + 1 >= text.size()) return std::nullopt;
        argument += c;
        ++i;
      } else if (space(c) && !quoted) {
        break;
      } else {
        argument += c;
        ++i;
      }
    }
    if (quoted) return std::nullopt;
    arguments.push_back(argument);
  }
  return arguments;
}

}  // namespace plumeta::testing

#endif  // TESTS_SUPPORT_GS_ARGUMENT_READER_H_
