#include "platform/host/kernel/locale.h"

#include <chrono>
#include <ctime>

#include "platform/host/kernel/locale_pictures.h"

namespace plumeta::host {

HostLocale::HostLocale(std::string decimal_separator, std::string short_date,
                       std::string long_time, int code_page)
    : code_page_(code_page),
      decimal_separator_(std::move(decimal_separator)),
      short_date_(std::move(short_date)),
      long_time_(std::move(long_time)) {}

std::string HostLocale::FormatDate(const platform::SystemTime& time,
                                   const std::string& picture) {
  return FormatDatePicture(time, picture);
}

std::string HostLocale::FormatTime(const platform::SystemTime& time,
                                   const std::string& picture) {
  return FormatTimePicture(time, picture);
}

platform::SystemTime HostLocale::LocalTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(
          now.time_since_epoch())
          .count() %
      1000;
  return {static_cast<std::uint16_t>(local.tm_year + 1900),
          static_cast<std::uint16_t>(local.tm_mon + 1),
          static_cast<std::uint16_t>(local.tm_wday),
          static_cast<std::uint16_t>(local.tm_mday),
          static_cast<std::uint16_t>(local.tm_hour),
          static_cast<std::uint16_t>(local.tm_min),
          static_cast<std::uint16_t>(local.tm_sec),
          static_cast<std::uint16_t>(milliseconds)};
}

bool HostLocale::IsLeadByte(char byte) {
  const unsigned char b = static_cast<unsigned char>(byte);
  switch (code_page_) {
    case 932:  // Japanese (Shift JIS)
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:  // Simplified Chinese (GBK)
    case 949:  // Korean
    case 950:  // Traditional Chinese (Big5)
      return b >= 0x81 && b <= 0xFE;
    default:  // the single-byte code pages
      return false;
  }
}

}  // namespace plumeta::host
