// Host stand-in (Linux only). GetDateFormatA's and GetTimeFormatA's picture
// language for English names: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg;
// h hh H HH m mm s ss t tt; text in single quotes ('' for a quote); every
// other character as it stands.
#ifndef PLATFORM_HOST_KERNEL_LOCALE_PICTURES_H_
#define PLATFORM_HOST_KERNEL_LOCALE_PICTURES_H_

#include <string>

#include "platform/spooler.h"

namespace plumeta::host {

// Empty when the date (year 1601 to 30827) or the time is not valid.
std::string FormatDatePicture(const platform::SystemTime& time,
                              const std::string& picture);
std::string FormatTimePicture(const platform::SystemTime& time,
                              const std::string& picture);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_LOCALE_PICTURES_H_
