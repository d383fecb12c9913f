#include "platform/host/names.h"

#include <algorithm>

namespace plumeta::host {

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = FoldCase(c);
  return upper;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldCase(x)) <
               static_cast<unsigned char>(FoldCase(y));
      });
}

}  // namespace plumeta::host
