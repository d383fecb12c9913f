// The files the monitor keeps for itself, which no PDF is ever saved over:
// LastResult, the PDFs set aside beside it under a job's id, Ghostscript's
// log beside it, and the Ghostscript argument file. Paths are compared as
// Windows compares them.
#ifndef MONITOR_OWN_FILES_H_
#define MONITOR_OWN_FILES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/system.h"
#include "platform/user_interface.h"

namespace plumeta {

struct OwnFiles {
  std::string last_result;
  // Every name the argument file goes by (ArgumentFilePaths).
  std::vector<std::string> argument_files;
};

// Where a job's PDF is set aside: LastResult without its extension, "-", the
// job id, ".pdf" ("C:\Temp\1024-7.pdf").
std::string AsidePath(const std::string& last_result, std::uint32_t job_id);

// The job id in a set-aside file's name (the name alone, "1024-7.pdf"), in
// any case; nullopt for any other name.
std::optional<std::uint32_t> AsideJobId(const std::string& last_result,
                                        const std::string& file_name);

// The argument file, %windir%\system32\plum.rsp; under WOW64 also its twin in
// SysWOW64, and Sysnative, the name by which a 32-bit program reaches the
// native system32.
std::vector<std::string> ArgumentFilePaths(platform::System& system,
                                           bool under_wow64);

// A full path as Windows reads it, for comparing: "/" read as "\", "." and
// ".." resolved (never above the root), trailing dots and blanks of names
// dropped, a "\\?\" prefix gone. The case stays.
std::string ComparablePath(const std::string& path);

// Whether `path` names one of the monitor's own files: by name without
// regard to case, or as the same existing file under another spelling (a
// short name, say).
bool IsOwnFile(platform::Files& files, const OwnFiles& own,
               const std::string& path);

// Tells the user that the PDF cannot be saved as `path`, one of the
// monitor's own files.
void ShowOwnFileRefusal(platform::UserInterface& ui, const std::string& path);

}  // namespace plumeta

#endif  // MONITOR_OWN_FILES_H_
