#include "monitor/file_names.h"

#include <string_view>

namespace plumeta {

std::string CutFileNameStem(const std::string& stem, std::size_t max_length,
                            platform::Locale& locale) {
  std::size_t end = 0;
  while (end < stem.size()) {
    const std::size_t width =
        locale.IsLeadByte(stem[end]) && end + 1 < stem.size() ? 2 : 1;
    if (end + width > max_length) break;
    end += width;
  }
  return stem.substr(0, end);
}

std::string CleanFileName(const std::string& name, platform::Locale& locale) {
  static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  std::string clean = name;
  for (std::size_t i = 0; i < clean.size(); ++i) {
    if (locale.IsLeadByte(clean[i]) && i + 1 < clean.size()) {
      ++i;  // the second byte belongs to the character
    } else if (static_cast<unsigned char>(clean[i]) < 0x20 ||
               kForbidden.find(clean[i]) != std::string_view::npos) {
      clean[i] = '_';
    }
  }
  return clean;
}

std::string ProposedFileName(const std::string& document,
                             platform::Locale& locale) {
  const std::string name = CleanFileName(document, locale);
  static constexpr std::string_view kExtension = ".PDF";
  return CutFileNameStem(name, kProposedNameLength - kExtension.size(),
                         locale) +
         std::string(kExtension);
}

}  // namespace plumeta
