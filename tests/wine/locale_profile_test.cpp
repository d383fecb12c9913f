// The user's locale and the profile through the Win32 calls.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/locale.h"
#include "platform/win32/profile.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {
namespace {

TEST(Win32LocaleTest, PicturesOfTheUserAndSystemTimesWrittenWithThem) {
  Win32Locale locale;
  EXPECT_FALSE(locale.DecimalSeparator().empty());
  EXPECT_FALSE(locale.ShortDatePicture().empty());
  EXPECT_FALSE(locale.LongTimePicture().empty());
  const platform::SystemTime may1{2024, 5, 3, 1, 14, 30, 5, 0};
  const struct {
    const char* name;
    platform::SystemTime time;
    const char* date_picture;
    const char* date;
    const char* time_picture;
    const char* time_text;
  } kRows[] = {
      {"valid", may1, "yyyy-MM-dd", "2024-05-01", "HH:mm:ss", "14:30:05"},
      {"quoted text", may1, "d'.'M", "1.5", "h' h'", "2 h"},
      {"month 13", {2024, 13, 0, 1, 25, 0, 0, 0}, "yyyy", "", "HH", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(locale.FormatDate(row.time, row.date_picture), row.date);
    EXPECT_EQ(locale.FormatTime(row.time, row.time_picture), row.time_text);
  }
}

// The local time is one the formatter takes.
TEST(Win32LocaleTest, LocalTimeIsAValidDate) {
  Win32Locale locale;
  EXPECT_FALSE(locale.FormatDate(locale.LocalTime(), "yyyy-MM-dd").empty());
}

TEST(Win32ProfileTest, WritesTheEntryThatGetProfileStringReads) {
  Win32Profile profile;
  ASSERT_TRUE(profile.WriteString("PlumetaTest", "device", "Plumeta,,"));
  char value[64] = {};
  ::GetProfileStringA("PlumetaTest", "device", "", value, sizeof value);
  EXPECT_STREQ(value, "Plumeta,,");
  profile.BroadcastChange("PlumetaTest");  // returns: nobody hangs it
  ::WriteProfileStringA("PlumetaTest", nullptr, nullptr);
}

}  // namespace
}  // namespace plumeta::win32
