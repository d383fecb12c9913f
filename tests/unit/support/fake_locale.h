// The user's locale with fields a test sets; dates and times are written with
// the host box's picture formatter.
#ifndef TESTS_UNIT_SUPPORT_FAKE_LOCALE_H_
#define TESTS_UNIT_SUPPORT_FAKE_LOCALE_H_

#include <string>
#include <vector>

#include "platform/host/kernel/locale_pictures.h"
#include "platform/locale.h"

namespace plumeta::testing {

class FakeLocale : public platform::Locale {
 public:
  std::string decimal_separator = ".";
  std::string short_date = "M/d/yyyy";
  std::string long_time = "h:mm:ss tt";
  int format_calls = 0;
  // Shift JIS's lead bytes when set, none otherwise.
  bool double_byte = false;
  platform::SystemTime now{2026, 3, 4, 5, 6, 7, 8, 0};

  std::string DecimalSeparator() override { return decimal_separator; }
  std::string ShortDatePicture() override { return short_date; }
  std::string LongTimePicture() override { return long_time; }
  std::string FormatDate(const platform::SystemTime& time,
                         const std::string& picture) override {
    ++format_calls;
    return host::FormatDatePicture(time, picture);
  }
  std::string FormatTime(const platform::SystemTime& time,
                         const std::string& picture) override {
    ++format_calls;
    return host::FormatTimePicture(time, picture);
  }
  platform::SystemTime LocalTime() override { return now; }
  bool IsLeadByte(char byte) override {
    const unsigned char b = static_cast<unsigned char>(byte);
    return double_byte &&
           ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_LOCALE_H_
