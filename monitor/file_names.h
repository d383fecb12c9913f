// File names as Windows takes them: the longest path its file calls accept,
// names cleaned of the characters it refuses and cut without splitting a
// two-byte character, and the name the save dialog proposes for a job.
#ifndef MONITOR_FILE_NAMES_H_
#define MONITOR_FILE_NAMES_H_

#include <cstddef>
#include <string>

#include "platform/locale.h"

namespace plumeta {

// The longest path Windows' file calls take (MAX_PATH without its NUL).
inline constexpr std::size_t kMaxPathLength = 259;

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

#endif  // MONITOR_FILE_NAMES_H_
