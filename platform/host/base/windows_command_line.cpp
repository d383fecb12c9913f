#include "platform/host/base/windows_command_line.h"

namespace plumeta::host {

std::vector<std::string> SplitWindowsArguments(std::string_view command_line) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  const std::size_t size = command_line.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (true) {
    while (i < size && blank(command_line[i])) ++i;
    if (i >= size) break;
    std::string argument;
    bool quoted = false;
    while (i < size && (quoted || !blank(command_line[i]))) {
      const char c = command_line[i];
      if (c == '\\') {
        std::size_t backslashes = 0;
        while (i < size && command_line[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < size && command_line[i] == '"') {
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
          // An even count leaves the quote to act on the next round.
        } else {
          argument.append(backslashes, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < size && command_line[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument += c;
        ++i;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace plumeta::host
