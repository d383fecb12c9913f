// Host stand-in (Linux only). The small INI dialect of the box's system.ini:
// "[section]" lines, "key = value" lines, comments from ';' or '#' at the
// start of a line. Surrounding blanks of keys and values are dropped; a value
// in double quotes keeps its blanks, and inside the quotes \" and \\ stand
// for " and \.
#ifndef PLATFORM_HOST_BASE_INI_FILE_H_
#define PLATFORM_HOST_BASE_INI_FILE_H_

#include <string>
#include <string_view>
#include <vector>

namespace plumeta::host {

struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
  int line = 0;
};

// Reads every "key = value" in order; on a malformed line, false with
// `error` naming it.
bool ParseIni(std::string_view text, std::vector<IniEntry>* entries,
              std::string* error);

// `value` as written after "key = ": quoted when a reader would otherwise
// lose or misread part of it.
std::string IniValue(std::string_view value);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_INI_FILE_H_
