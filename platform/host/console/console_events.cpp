#include "platform/host/console/console_events.h"

namespace plumeta::host {

std::string EscapeEventField(std::string_view field) {
  std::string escaped;
  escaped.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string UnescapeEventField(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\\' && i + 1 < field.size()) {
      switch (field[i + 1]) {
        case '\\':
          c = '\\';
          break;
        case 't':
          c = '\t';
          break;
        case 'r':
          c = '\r';
          break;
        case 'n':
          c = '\n';
          break;
        default:
          text += c;
          continue;
      }
      ++i;
    }
    text += c;
  }
  return text;
}

std::string EventLine(std::string_view keyword,
                      std::initializer_list<std::string_view> fields) {
  std::string line(keyword);
  for (std::string_view field : fields) {
    line += '\t';
    line += EscapeEventField(field);
  }
  return line;
}

std::vector<std::string> SplitEventLine(std::string_view line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t tab = line.find('\t', start);
    parts.push_back(UnescapeEventField(line.substr(start, tab - start)));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return parts;
}

}  // namespace plumeta::host
