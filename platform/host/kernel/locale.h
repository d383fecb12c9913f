// Host stand-in (Linux only). The user's locale: the separator, pictures and
// ANSI code page of the box's system.ini ([locale]), US English unless it
// says otherwise.
#ifndef PLATFORM_HOST_KERNEL_LOCALE_H_
#define PLATFORM_HOST_KERNEL_LOCALE_H_

#include <string>

#include "platform/locale.h"

namespace plumeta::host {

class HostLocale : public platform::Locale {
 public:
  HostLocale(std::string decimal_separator, std::string short_date,
             std::string long_time, int code_page = 1252);

  std::string DecimalSeparator() override { return decimal_separator_; }
  std::string ShortDatePicture() override { return short_date_; }
  std::string LongTimePicture() override { return long_time_; }
  std::string FormatDate(const platform::SystemTime& time,
                         const std::string& picture) override;
  std::string FormatTime(const platform::SystemTime& time,
                         const std::string& picture) override;
  // The lead bytes of the double-byte code pages 932, 936, 949 and 950.
  bool IsLeadByte(char byte) override;
  // The Linux clock in the local time zone.
  platform::SystemTime LocalTime() override;

 private:
  int code_page_;
  std::string decimal_separator_;
  std::string short_date_;
  std::string long_time_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_LOCALE_H_
