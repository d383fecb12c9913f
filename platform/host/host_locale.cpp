#include "platform/host/host_locale.h"

#include "platform/host/locale_pictures.h"

namespace plumeta::host {

HostLocale::HostLocale(std::string decimal_separator, std::string short_date,
                       std::string long_time)
    : decimal_separator_(std::move(decimal_separator)),
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

}  // namespace plumeta::host
