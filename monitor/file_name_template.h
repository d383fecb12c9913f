// The names auto-save gives PDFs: a template whose tokens stand for facts of
// the job, made into a file name that Windows takes and whose full path fits
// MAX_PATH in the chosen folder.
#ifndef MONITOR_FILE_NAME_TEMPLATE_H_
#define MONITOR_FILE_NAME_TEMPLATE_H_

#include <cstdint>
#include <string>

#include "platform/locale.h"
#include "platform/spooler.h"

namespace plumeta {

// What the tokens stand for.
struct TemplateFacts {
  std::string title;          // <Title>: the job's document name
  std::string user;           // <User>
  platform::SystemTime time;  // <Date> yyyy-mm-dd and <Time> hh-mm-ss
  std::uint32_t job_id = 0;   // <JobId>
  std::string printer;        // <Printer>
};

// The stem of the file name: each token replaced (its name compared without
// regard to case), anything else as typed, then every character Windows
// refuses in a file name replaced by "_" (so an unknown token "<Foo>" becomes
// "_Foo_"). Read in the user's code page.
std::string ExpandFileNameTemplate(const std::string& text,
                                   const TemplateFacts& facts,
                                   platform::Locale& locale);

// The longest number suffix a saved name gets: " (999)".
inline constexpr int kMaxNameNumber = 999;
inline constexpr std::size_t kNumberSuffixRoom = 6;
// The fewest characters of the stem a folder must leave room for.
inline constexpr std::size_t kMinStemRoom = 8;

// The tidied `folder` (TidyFolder) with the backslash that ends it: a drive's
// root "C:\" has it already.
std::string FolderPrefix(const std::string& folder);

// Whether folder\ + a stem of kMinStemRoom + the suffix + ".pdf" fits
// MAX_PATH.
bool FolderLeavesRoom(const std::string& folder);

// The stem made fit for `folder`: cut at a character boundary so that the
// full path with the largest number suffix and ".pdf" fits MAX_PATH; then
// trailing blanks and dots dropped (Windows drops them). A device name such
// as CON or LPT1 gets a "_" before it; an empty stem becomes "Untitled".
std::string FitFileNameStem(const std::string& stem, const std::string& folder,
                            platform::Locale& locale);

// folder\stem.pdf for `number` 1, folder\stem (number).pdf after it.
std::string NumberedPdfPath(const std::string& folder, const std::string& stem,
                            int number);

}  // namespace plumeta

#endif  // MONITOR_FILE_NAME_TEMPLATE_H_
