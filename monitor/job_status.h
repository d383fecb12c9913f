// The texts of a JobTable row that need more than copying a field: the status
// words, the size in KB and the submission time in the user's formats; and
// the file name the save dialog proposes for a job.
#ifndef MONITOR_JOB_STATUS_H_
#define MONITOR_JOB_STATUS_H_

#include <cstddef>
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

// The longest name the save dialog is offered. The dialog opens in a folder
// not known beforehand, and a path past MAX_PATH is refused there ("The
// filename or extension is too long."); this leaves 131 characters for the
// folder, more than the deepest usual ones (My Documents on XP is about 50).
inline constexpr std::size_t kProposedNameLength = 128;

// `stem` cut to at most `max_length` bytes, never inside a two-byte
// character of the user's code page.
std::string CutFileNameStem(const std::string& stem, std::size_t max_length,
                            platform::Locale& locale);

// `name` with each character Windows refuses in a file name (\ / : * ? " < >
// | and the control characters) replaced by "_". Characters are read in the
// user's code page: the second byte of a two-byte character stays as it is.
std::string CleanFileName(const std::string& name, platform::Locale& locale);

// The document name followed by ".PDF", each character Windows refuses in a
// file name (\ / : * ? " < > | and the control characters) replaced by "_",
// cut to kProposedNameLength. Characters are read in the user's code page:
// the second byte of a two-byte character stays as it is, whatever its value.
std::string ProposedFileName(const std::string& document,
                             platform::Locale& locale);

}  // namespace plumeta

#endif  // MONITOR_JOB_STATUS_H_
