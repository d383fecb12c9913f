// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/task_scheduler.h"

#include <functional>
#include <string>

#include "platform/win32/windows_api.h"
// <objbase.h> and <taskschd.h> need the types <windows.h> declares.
#include <objbase.h>
#include <taskschd.h>

#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {
namespace {

using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFunction = void(WINAPI*)();
using CoInitializeSecurityFunction =
    HRESULT(WINAPI*)(PSECURITY_DESCRIPTOR, LONG, SOLE_AUTHENTICATION_SERVICE*,
                     void*, DWORD, DWORD, void*, DWORD, void*);
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD,
                                                  REFIID, LPVOID*);
using SysAllocStringFunction = BSTR(WINAPI*)(const OLECHAR*);
using SysFreeStringFunction = void(WINAPI*)(BSTR);

// The class and interface ids, here so that nothing links the uuid library.
constexpr CLSID kTaskSchedulerClass = {
    0x0f87369f,
    0xa4e5,
    0x4cfc,
    {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
constexpr IID kTaskServiceInterface = {
    0x2faba4c7,
    0x4da9,
    0x4013,
    {0x96, 0x97, 0x20, 0xcc, 0x3f, 0xd4, 0x0f, 0x85}};

// A Windows error code for an HRESULT: the code itself where the HRESULT
// wraps one, else the HRESULT, which FormatMessage knows as well.
platform::ErrorCode FromHresult(HRESULT result) {
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
  return static_cast<platform::ErrorCode>(result);
}

template <typename Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) {
    handle->Release();
    return true;
  }
};
template <typename Interface>
using ComPointer = ScopedHandle<ComTraits<Interface>>;

// COM for one call on this thread: ole32 and oleaut32 loaded, their entry
// points found, the apartment entered, and all of it undone at the end.
class ComSession {
 public:
  ComSession()
      : ole32_(::LoadLibraryA("ole32.dll")),
        oleaut32_(::LoadLibraryA("oleaut32.dll")) {
    if (!ole32_ || !oleaut32_) return;
    auto initialize =
        FindSystemEntry<CoInitializeExFunction>("ole32.dll", "CoInitializeEx");
    uninitialize_ =
        FindSystemEntry<CoUninitializeFunction>("ole32.dll", "CoUninitialize");
    create_ = FindSystemEntry<CoCreateInstanceFunction>("ole32.dll",
                                                        "CoCreateInstance");
    alloc_string_ = FindSystemEntry<SysAllocStringFunction>("oleaut32.dll",
                                                            "SysAllocString");
    free_string_ =
        FindSystemEntry<SysFreeStringFunction>("oleaut32.dll", "SysFreeString");
    if (!initialize || !uninitialize_ || !create_ || !alloc_string_ ||
        !free_string_) {
      return;
    }
    const HRESULT entered = initialize(nullptr, COINIT_APARTMENTTHREADED);
    // RPC_E_CHANGED_MODE: COM is on in another model; use it as it is.
    if (FAILED(entered) && entered != RPC_E_CHANGED_MODE) return;
    must_uninitialize_ = SUCCEEDED(entered);
    // The Task Scheduler asks its callers to impersonate; a program that set
    // its security already keeps it (RPC_E_TOO_LATE).
    if (auto security = FindSystemEntry<CoInitializeSecurityFunction>(
            "ole32.dll", "CoInitializeSecurity")) {
      security(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
               RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, 0, nullptr);
    }
    ready_ = true;
  }
  ~ComSession() {
    if (must_uninitialize_) uninitialize_();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;

  bool ready() const { return ready_; }

  // The Task Scheduler's root folder, connected to this computer.
  HRESULT RootFolder(ComPointer<ITaskFolder>* folder) {
    ComPointer<ITaskService> service;
    HRESULT result = create_(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER,
                             kTaskServiceInterface,
                             reinterpret_cast<void**>(service.Receive()));
    if (FAILED(result)) return result;
    VARIANT empty;
    empty.vt = VT_EMPTY;
    result = service.Get()->Connect(empty, empty, empty, empty);
    if (FAILED(result)) return result;
    return WithString("\\", [&](BSTR root) {
      return service.Get()->GetFolder(root, folder->Receive());
    });
  }

  // Runs `call` with `text` (ANSI) as a BSTR that lives for the call.
  HRESULT WithString(const std::string& text,
                     const std::function<HRESULT(BSTR)>& call) {
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return HRESULT_FROM_WIN32(LastFailure());
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    BSTR string = alloc_string_(wide.c_str());
    if (string == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = call(string);
    free_string_(string);
    return result;
  }

 private:
  ScopedHandle<ModuleTraits> ole32_;
  ScopedHandle<ModuleTraits> oleaut32_;
  CoUninitializeFunction uninitialize_ = nullptr;
  CoCreateInstanceFunction create_ = nullptr;
  SysAllocStringFunction alloc_string_ = nullptr;
  SysFreeStringFunction free_string_ = nullptr;
  bool must_uninitialize_ = false;
  bool ready_ = false;
};

// Runs `call` on the root folder; ERROR_NOT_SUPPORTED where COM or the Task
// Scheduler 2.0 is missing.
platform::ErrorCode InRootFolder(
    const std::function<HRESULT(ComSession&, ITaskFolder&)>& call) {
  ComSession com;
  if (!com.ready()) return ERROR_NOT_SUPPORTED;
  ComPointer<ITaskFolder> folder;
  HRESULT result = com.RootFolder(&folder);
  if (result == REGDB_E_CLASSNOTREG) return ERROR_NOT_SUPPORTED;
  if (SUCCEEDED(result)) result = call(com, *folder.Get());
  return SUCCEEDED(result) ? platform::kSuccess : FromHresult(result);
}

}  // namespace

platform::ErrorCode Win32TaskScheduler::RegisterTask(
    const std::string& name, const std::string& xml_definition) {
  return InRootFolder([&](ComSession& com, ITaskFolder& folder) {
    return com.WithString(name, [&](BSTR path) {
      return com.WithString(xml_definition, [&](BSTR xml) {
        VARIANT empty;
        empty.vt = VT_EMPTY;
        ComPointer<IRegisteredTask> registered;
        // The user is the definition's: its group principal.
        return folder.RegisterTask(path, xml, TASK_CREATE_OR_UPDATE, empty,
                                   empty, TASK_LOGON_GROUP, empty,
                                   registered.Receive());
      });
    });
  });
}

platform::ErrorCode Win32TaskScheduler::DeleteTask(const std::string& name) {
  return InRootFolder([&](ComSession& com, ITaskFolder& folder) {
    return com.WithString(name, [&](BSTR path) {
      const HRESULT result = folder.DeleteTask(path, 0);
      return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : result;
    });
  });
}

}  // namespace plumeta::win32
