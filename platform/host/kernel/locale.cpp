#include "platform/host/kernel/locale.h"

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
