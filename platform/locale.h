// The user's locale as the programs format figures and dates with it: the
// decimal separator, the short-date and long-time pictures, and a SYSTEMTIME
// written with such a picture (GetDateFormatA / GetTimeFormatA).
#ifndef PLATFORM_LOCALE_H_
#define PLATFORM_LOCALE_H_

#include <string>

#include "platform/spooler.h"

namespace plumeta::platform {

class Locale {
 public:
  virtual ~Locale() = default;
  // LOCALE_SDECIMAL, LOCALE_SSHORTDATE and LOCALE_STIMEFORMAT of the user's
  // default locale: "." or ","; "M/d/yyyy", "dd.MM.yyyy"; "h:mm:ss tt".
  virtual std::string DecimalSeparator() = 0;
  virtual std::string ShortDatePicture() = 0;
  virtual std::string LongTimePicture() = 0;
  // The date or time part of `time` written with `picture` in the user's
  // locale; empty when `time` is no valid date or time.
  virtual std::string FormatDate(const SystemTime& time,
                                 const std::string& picture) = 0;
  virtual std::string FormatTime(const SystemTime& time,
                                 const std::string& picture) = 0;
  // Whether `byte` begins a two-byte character in the user's ANSI code page
  // (IsDBCSLeadByteEx(CP_ACP, byte)): in Japanese, Chinese and Korean text a
  // second byte may be '\\' or '|' and belongs to its character.
  virtual bool IsLeadByte(char byte) = 0;
  // The user's clock now (GetLocalTime).
  virtual SystemTime LocalTime() = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_LOCALE_H_
