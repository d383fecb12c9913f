// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/processes.h"

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <tlhelp32.h>

namespace plumeta::win32 {
namespace {

class Win32Process : public platform::Process {
 public:
  explicit Win32Process(HANDLE handle) : handle_(handle) {}

  platform::ErrorCode Terminate(std::uint32_t exit_code) override {
    if (!::TerminateProcess(handle_.Get(), exit_code)) return LastFailure();
    return platform::kSuccess;
  }

  platform::WaitResult Wait(std::uint32_t timeout_ms,
                            platform::ErrorCode* error) override {
    *error = platform::kSuccess;
    switch (::WaitForSingleObject(handle_.Get(), timeout_ms)) {
      case WAIT_OBJECT_0:
        return platform::WaitResult::kSignalled;
      case WAIT_FAILED:
        *error = LastFailure();
        return platform::WaitResult::kFailed;
      default:  // WAIT_TIMEOUT, WAIT_ABANDONED
        return platform::WaitResult::kTimedOut;
    }
  }

 private:
  ScopedKernelHandle handle_;
};

}  // namespace

platform::ErrorCode Win32Processes::Snapshot(
    std::vector<platform::ProcessEntry>* entries) {
  entries->clear();
  ScopedFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return LastFailure();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
       more = ::Process32Next(snapshot.Get(), &entry)) {
    entries->push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return platform::kSuccess;
}

platform::ErrorCode Win32Processes::Open(
    platform::ProcessId id, std::unique_ptr<platform::Process>* process) {
  HANDLE handle = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE,
                                /*bInheritHandle=*/FALSE, id);
  if (handle == nullptr) return LastFailure();
  *process = std::make_unique<Win32Process>(handle);
  return platform::kSuccess;
}

}  // namespace plumeta::win32
