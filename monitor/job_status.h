// The texts of a JobTable row that need more than copying a field: the status
// words, the size in KB and the submission time in the user's formats.
#ifndef MONITOR_JOB_STATUS_H_
#define MONITOR_JOB_STATUS_H_

#include <cstdint>
#include <string>

#include "platform/locale.h"
#include "platform/spooler.h"

namespace plumeta {

// One word and a blank for each bit of the low byte of `status`: Error,
// Paused, Deleting, Spooling, Printing, Offline, Paperout, Printed.
std::string StatusWords(std::uint32_t status);

// "%10.2f KB" of `size` / 1000 with `decimal_separator` in place of the
// point. Rounded half up in decimal, as the figure reads.
std::string SizeText(std::uint32_t size, const std::string& decimal_separator);

// The time as the spooler gave it (UTC, not converted), in the user's short
// date and long time; empty when it is no valid date and time.
std::string StartAtText(const platform::SystemTime& submitted,
                        platform::Locale& locale,
                        const std::string& short_date_picture,
                        const std::string& long_time_picture);

}  // namespace plumeta

#endif  // MONITOR_JOB_STATUS_H_
