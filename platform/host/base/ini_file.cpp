#include "platform/host/base/ini_file.h"

namespace plumeta::host {
namespace {

std::string_view Trim(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t\r");
  return text.substr(start, end - start + 1);
}

}  // namespace

bool ParseIni(std::string_view text, std::vector<IniEntry>* entries,
              std::string* error) {
  std::string section;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++number;
    auto fail = [&](const std::string& what) {
      *error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return fail("a section without its ']'");
      section = Trim(line.substr(1, line.size() - 2));
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail("a line without '='");
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view raw = Trim(line.substr(equals + 1));
    if (key.empty()) return fail("a value without a key");
    if (section.empty()) return fail("a key before the first section");
    std::string value;
    if (!raw.empty() && raw.front() == '"') {
      std::size_t i = 1;
      for (; i < raw.size() && raw[i] != '"'; ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() &&
            (raw[i + 1] == '"' || raw[i + 1] == '\\')) {
          ++i;
        }
        value += raw[i];
      }
      if (i != raw.size() - 1)
        return fail("a quoted value not closed at its end");
    } else {
      value = raw;
    }
    entries->push_back({section, std::string(key), value, number});
  }
  return true;
}

std::string IniValue(std::string_view value) {
  bool plain =
      value.empty() ||
      (value.front() != ' ' && value.front() != '\t' && value.front() != '"' &&
       value.back() != ' ' && value.back() != '\t');
  if (plain) return std::string(value);
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace plumeta::host
