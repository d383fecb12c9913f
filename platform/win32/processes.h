// platform/win32: Win32 calls only, in their ANSI ("A") forms. Processes
// through the toolhelp snapshot (PSAPI on Windows NT 4.0) and process handles.
#ifndef PLATFORM_WIN32_PROCESSES_H_
#define PLATFORM_WIN32_PROCESSES_H_

#include <vector>

#include "platform/processes.h"

namespace plumeta::win32 {

class Win32Processes : public platform::Processes {
 public:
  // The toolhelp snapshot where kernel32 has it (Windows 95 and 2000 on),
  // otherwise the PSAPI walk.
  platform::ErrorCode Snapshot(
      std::vector<platform::ProcessEntry>* entries) override;
  platform::ErrorCode Open(
      platform::ProcessId id,
      std::unique_ptr<platform::Process>* process) override;
};

// The two ways of listing processes, apart so that each can be tested where
// both exist. Each answers ERROR_CALL_NOT_IMPLEMENTED when the system lacks
// its calls.
platform::ErrorCode ToolhelpSnapshot(
    std::vector<platform::ProcessEntry>* entries);
// Windows NT 4.0 has no toolhelp; psapi.dll (installed with many programs)
// lists process ids and names each process's main module. Processes that
// cannot be opened for reading (the system's own) are left out.
platform::ErrorCode PsapiSnapshot(std::vector<platform::ProcessEntry>* entries);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_PROCESSES_H_
