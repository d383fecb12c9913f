#include "monitor/file_name_template.h"

#include <cstdio>
#include <string_view>

#include "common/text.h"
#include "monitor/file_names.h"

namespace plumeta {
namespace {

constexpr std::string_view kExtension = ".pdf";

std::string TwoDigits(int a, int b, int c, const char* picture) {
  char text[32];
  std::snprintf(text, sizeof text, picture, a, b, c);
  return text;
}

// The value of the token `name` (without its angle brackets); false when
// there is no such token.
bool TokenValue(std::string_view name, const TemplateFacts& facts,
                std::string* value) {
  const platform::SystemTime& t = facts.time;
  if (SameName(name, "Title")) {
    *value = facts.title;
  } else if (SameName(name, "User")) {
    *value = facts.user;
  } else if (SameName(name, "Date")) {
    *value = TwoDigits(t.year, t.month, t.day, "%04d-%02d-%02d");
  } else if (SameName(name, "Time")) {
    *value = TwoDigits(t.hour, t.minute, t.second, "%02d-%02d-%02d");
  } else if (SameName(name, "JobId")) {
    *value = std::to_string(facts.job_id);
  } else if (SameName(name, "Printer")) {
    *value = facts.printer;
  } else {
    return false;
  }
  return true;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 name devices, also with
// an extension after them.
bool IsDeviceName(const std::string& stem) {
  std::string base = stem.substr(0, stem.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  base = AsciiUpper(base);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") {
    return true;
  }
  return base.size() == 4 &&
         (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string ExpandFileNameTemplate(const std::string& text,
                                   const TemplateFacts& facts,
                                   platform::Locale& locale) {
  std::string expanded;
  std::size_t i = 0;
  while (i < text.size()) {
    if (locale.IsLeadByte(text[i]) && i + 1 < text.size()) {
      expanded.append(text, i, 2);
      i += 2;
      continue;
    }
    // '<' and '>' are never the second byte of a two-byte character.
    const std::size_t close = text[i] == '<' ? text.find('>', i) : i;
    std::string value;
    if (text[i] == '<' && close != std::string::npos &&
        TokenValue(std::string_view(text).substr(i + 1, close - i - 1), facts,
                   &value)) {
      expanded += value;
      i = close + 1;
    } else {
      expanded += text[i++];
    }
  }
  return CleanFileName(expanded, locale);
}

std::string FolderPrefix(const std::string& folder) {
  if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') {
    return folder;
  }
  return folder + "\\";
}

bool FolderLeavesRoom(const std::string& folder) {
  return FolderPrefix(folder).size() + kMinStemRoom + kNumberSuffixRoom +
             kExtension.size() <=
         kMaxPathLength;
}

std::string FitFileNameStem(const std::string& stem, const std::string& folder,
                            platform::Locale& locale) {
  const std::size_t used =
      FolderPrefix(folder).size() + kNumberSuffixRoom + kExtension.size();
  const std::string named = IsDeviceName(stem) ? "_" + stem : stem;
  std::string fitted =
      used < kMaxPathLength
          ? CutFileNameStem(named, kMaxPathLength - used, locale)
          : std::string();
  while (!fitted.empty() && (fitted.back() == ' ' || fitted.back() == '.')) {
    fitted.pop_back();
  }
  return fitted.empty() ? "Untitled" : fitted;
}

std::string NumberedPdfPath(const std::string& folder, const std::string& stem,
                            int number) {
  std::string path = FolderPrefix(folder) + stem;
  if (number > 1) path += " (" + std::to_string(number) + ")";
  return path + std::string(kExtension);
}

}  // namespace plumeta
