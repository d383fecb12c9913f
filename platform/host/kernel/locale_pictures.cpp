#include "platform/host/kernel/locale_pictures.h"

#include <cstdio>

namespace plumeta::host {
namespace {

constexpr const char* kMonths[] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

bool LeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool ValidDate(const platform::SystemTime& time) {
  static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30,
                                     31, 31, 30, 31, 30, 31};
  if (time.year < 1601 || time.year > 30827) return false;
  if (time.month < 1 || time.month > 12) return false;
  int days = kDaysInMonth[time.month - 1];
  if (time.month == 2 && LeapYear(time.year)) ++days;
  return time.day >= 1 && time.day <= days;
}

bool ValidTime(const platform::SystemTime& time) {
  return time.hour < 24 && time.minute < 60 && time.second < 60 &&
         time.milliseconds < 1000;
}

// Sakamoto's method: 0 is Sunday.
int DayOfWeek(int year, int month, int day) {
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] +
          day) %
         7;
}

std::string Number(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

// Walks the picture: quoted text and other characters are copied, each run
// of one picture letter goes to `field` with its length.
template <typename Field>
std::string Expand(const std::string& picture, const std::string& letters,
                   Field field) {
  std::string out;
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      for (++i; i < picture.size(); ++i) {
        if (picture[i] != '\'') {
          out += picture[i];
        } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
          out += '\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    if (letters.find(c) == std::string::npos) {
      out += c;
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    out += field(c, run);
    i += run;
  }
  return out;
}

}  // namespace

std::string FormatDatePicture(const platform::SystemTime& time,
                              const std::string& picture) {
  if (!ValidDate(time)) return "";
  return Expand(picture, "dMyg", [&](char c, std::size_t run) -> std::string {
    switch (c) {
      case 'd':
        if (run == 1) return std::to_string(time.day);
        if (run == 2) return Number(time.day, 2);
        {
          const char* day = kDays[DayOfWeek(time.year, time.month, time.day)];
          return run == 3 ? std::string(day, 3) : day;
        }
      case 'M':
        if (run == 1) return std::to_string(time.month);
        if (run == 2) return Number(time.month, 2);
        return run == 3 ? std::string(kMonths[time.month - 1], 3)
                        : kMonths[time.month - 1];
      case 'y':
        if (run == 1) return std::to_string(time.year % 100);
        if (run == 2) return Number(time.year % 100, 2);
        return std::to_string(time.year);
      default:  // 'g': the era
        return "A.D.";
    }
  });
}

std::string FormatTimePicture(const platform::SystemTime& time,
                              const std::string& picture) {
  if (!ValidTime(time)) return "";
  return Expand(picture, "hHmst", [&](char c, std::size_t run) -> std::string {
    const int width = run >= 2 ? 2 : 1;
    switch (c) {
      case 'h': {
        const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
        return Number(hour, width);
      }
      case 'H':
        return Number(time.hour, width);
      case 'm':
        return Number(time.minute, width);
      case 's':
        return Number(time.second, width);
      default:  // 't': AM or PM, or its first letter
        return std::string(time.hour < 12 ? "AM" : "PM").substr(0, width);
    }
  });
}

}  // namespace plumeta::host
