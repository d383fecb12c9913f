// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/locale.h"

#include "platform/win32/windows_api.h"

namespace plumeta::win32 {
namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  char text[100] = {};
  if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) <= 1) {
    return fallback;
  }
  return text;
}

SYSTEMTIME ToSystemTime(const platform::SystemTime& time) {
  SYSTEMTIME st{};
  st.wYear = time.year;
  st.wMonth = time.month;
  st.wDayOfWeek = time.day_of_week;
  st.wDay = time.day;
  st.wHour = time.hour;
  st.wMinute = time.minute;
  st.wSecond = time.second;
  st.wMilliseconds = time.milliseconds;
  return st;
}

}  // namespace

std::string Win32Locale::DecimalSeparator() {
  return LocaleText(LOCALE_SDECIMAL, ".");
}

std::string Win32Locale::ShortDatePicture() {
  return LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
}

std::string Win32Locale::LongTimePicture() {
  return LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt");
}

std::string Win32Locale::FormatDate(const platform::SystemTime& time,
                                    const std::string& picture) {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[256] = {};
  if (::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, picture.c_str(), text,
                       sizeof text) == 0) {
    return "";
  }
  return text;
}

std::string Win32Locale::FormatTime(const platform::SystemTime& time,
                                    const std::string& picture) {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[256] = {};
  if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, picture.c_str(), text,
                       sizeof text) == 0) {
    return "";
  }
  return text;
}

bool Win32Locale::IsLeadByte(char byte) {
  return ::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(byte)) != FALSE;
}

platform::SystemTime Win32Locale::LocalTime() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
          now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

}  // namespace plumeta::win32
