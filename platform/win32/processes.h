// platform/win32: Win32 calls only, in their ANSI ("A") forms. Processes
// through the toolhelp snapshot and process handles.
#ifndef PLATFORM_WIN32_PROCESSES_H_
#define PLATFORM_WIN32_PROCESSES_H_

#include "platform/processes.h"

namespace plumeta::win32 {

class Win32Processes : public platform::Processes {
 public:
  platform::ErrorCode Snapshot(
      std::vector<platform::ProcessEntry>* entries) override;
  platform::ErrorCode Open(
      platform::ProcessId id,
      std::unique_ptr<platform::Process>* process) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_PROCESSES_H_
