// Host stand-in (Linux only). Windows compares registry key names, value
// names, environment variable names and file names without regard to case;
// these helpers do that for the single-byte names the box keeps.
#ifndef PLATFORM_HOST_NAMES_H_
#define PLATFORM_HOST_NAMES_H_

#include <string>
#include <string_view>

namespace plumeta::host {

// Windows folds names to upper case when it compares them.
inline char FoldCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToUpperAscii(std::string_view text);
bool SameName(std::string_view a, std::string_view b);

// Orders names as Windows orders registry subkeys: by their upper-case form.
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_NAMES_H_
