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

platform::ErrorCode ToolhelpSnapshot(
    std::vector<platform::ProcessEntry>* entries) {
  entries->clear();
  using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
  using WalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
  static const auto create_snapshot = FindSystemEntry<CreateSnapshotFunction>(
      "kernel32.dll", "CreateToolhelp32Snapshot");
  static const auto first =
      FindSystemEntry<WalkFunction>("kernel32.dll", "Process32First");
  static const auto next =
      FindSystemEntry<WalkFunction>("kernel32.dll", "Process32Next");
  if (create_snapshot == nullptr || first == nullptr || next == nullptr) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  ScopedFileHandle snapshot(create_snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return LastFailure();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = first(snapshot.Get(), &entry); more;
       more = next(snapshot.Get(), &entry)) {
    entries->push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return platform::kSuccess;
}

platform::ErrorCode PsapiSnapshot(
    std::vector<platform::ProcessEntry>* entries) {
  entries->clear();
  using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
  using BaseNameFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
  // Loaded once and kept: the program asks again at each hand-over.
  static const HMODULE psapi = ::LoadLibraryA("psapi.dll");
  if (psapi == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  static const auto enum_processes =
      FindSystemEntry<EnumProcessesFunction>("psapi.dll", "EnumProcesses");
  static const auto base_name =
      FindSystemEntry<BaseNameFunction>("psapi.dll", "GetModuleBaseNameA");
  if (enum_processes == nullptr || base_name == nullptr) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  // EnumProcesses cannot say how many there are: grow until a call leaves
  // room to spare.
  std::vector<DWORD> ids(256);
  DWORD used = 0;
  for (;;) {
    const DWORD room = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    if (!enum_processes(ids.data(), room, &used)) return LastFailure();
    if (used < room) break;
    ids.resize(ids.size() * 2);
  }
  ids.resize(used / sizeof(DWORD));
  for (const DWORD id : ids) {
    ScopedKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process) continue;
    char name[MAX_PATH] = {};
    if (base_name(process.Get(), nullptr, name, sizeof(name)) == 0) continue;
    entries->push_back({id, name});
  }
  return platform::kSuccess;
}

platform::ErrorCode Win32Processes::Snapshot(
    std::vector<platform::ProcessEntry>* entries) {
  const platform::ErrorCode code = ToolhelpSnapshot(entries);
  return code == ERROR_CALL_NOT_IMPLEMENTED ? PsapiSnapshot(entries) : code;
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
