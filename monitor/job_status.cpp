#include "monitor/job_status.h"

#include <cstdio>

namespace plumeta {

std::string StatusWords(std::uint32_t status) {
  // Error comes first although its bit is above Paused's.
  static constexpr struct {
    std::uint32_t bit;
    const char* word;
  } kWords[] = {
      {0x02, "Error "},    {0x01, "Paused "},   {0x04, "Deleting "},
      {0x08, "Spooling "}, {0x10, "Printing "}, {0x20, "Offline "},
      {0x40, "Paperout "}, {0x80, "Printed "},
  };
  std::string text;
  for (const auto& [bit, word] : kWords) {
    if (status & bit) text += word;
  }
  return text;
}

std::string SizeText(std::uint32_t size, const std::string& decimal_separator) {
  const std::uint64_t hundredths = (std::uint64_t{size} + 5) / 10;
  char number[32];
  std::snprintf(number, sizeof number, "%llu%s%02llu",
                static_cast<unsigned long long>(hundredths / 100),
                decimal_separator.c_str(),
                static_cast<unsigned long long>(hundredths % 100));
  std::string text = number;
  if (text.size() < 10) text.insert(0, 10 - text.size(), ' ');
  return text + " KB";
}

std::string StartAtText(const platform::SystemTime& submitted,
                        platform::Locale& locale,
                        const std::string& short_date_picture,
                        const std::string& long_time_picture) {
  const std::string date = locale.FormatDate(submitted, short_date_picture);
  const std::string time = locale.FormatTime(submitted, long_time_picture);
  if (date.empty() || time.empty()) return "";
  return date + " " + time;
}

}  // namespace plumeta
