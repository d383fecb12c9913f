// Case folding for the letters A to Z only, whatever the code page or the C
// library's locale: Windows compares the names this system deals in (files,
// printers, registry keys and values, modules, environment variables) so.
#ifndef COMMON_TEXT_H_
#define COMMON_TEXT_H_

#include <algorithm>
#include <string>
#include <string_view>

namespace plumeta {

inline char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

// Whether two names are the same to Windows.
inline bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

// Orders names as Windows orders registry subkeys: by their upper-case form.
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
          return static_cast<unsigned char>(AsciiUpper(x)) <
                 static_cast<unsigned char>(AsciiUpper(y));
        });
  }
};

}  // namespace plumeta

#endif  // COMMON_TEXT_H_
