// platform/win32: Win32 calls only, in their ANSI ("A") forms. The user's
// locale through GetLocaleInfoA, GetDateFormatA and GetTimeFormatA.
#ifndef PLATFORM_WIN32_LOCALE_H_
#define PLATFORM_WIN32_LOCALE_H_

#include "platform/locale.h"

namespace plumeta::win32 {

class Win32Locale : public platform::Locale {
 public:
  bool IsLeadByte(char byte) override;
  platform::SystemTime LocalTime() override;
  std::string DecimalSeparator() override;
  std::string ShortDatePicture() override;
  std::string LongTimePicture() override;
  std::string FormatDate(const platform::SystemTime& time,
                         const std::string& picture) override;
  std::string FormatTime(const platform::SystemTime& time,
                         const std::string& picture) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_LOCALE_H_
