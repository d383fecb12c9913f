// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/system.h"

#include <cstring>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

using platform::EntryPoint;
using platform::ProductType;
using platform::VersionInfo;

namespace {

// Windows paths are at most this long, \\?\ forms included.
constexpr DWORD kLongestPath = 32768;

// The fields OSVERSIONINFOA and OSVERSIONINFOEXA share.
template <typename Info>
VersionInfo CommonFields(const Info& info) {
  VersionInfo version;
  version.platform = static_cast<platform::PlatformId>(info.dwPlatformId);
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  version.service_pack.assign(
      info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
  return version;
}

template <typename Function>
Function EntryAs(EntryPoint entry) {
  return reinterpret_cast<Function>(entry);
}

}  // namespace

std::optional<VersionInfo> Win32System::Version() {
  // Windows 95 and NT 4.0 before Service Pack 6 refuse the extended form.
  OSVERSIONINFOEXA extended{};
  extended.dwOSVersionInfoSize = sizeof(extended);
  if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
    VersionInfo version = CommonFields(extended);
    version.product_type = static_cast<ProductType>(extended.wProductType);
    return version;
  }
  OSVERSIONINFOA basic{};
  basic.dwOSVersionInfoSize = sizeof(basic);
  if (!::GetVersionExA(&basic)) return std::nullopt;
  VersionInfo version = CommonFields(basic);
  version.product_type = ProductType::kNotAvailable;
  return version;
}

bool Win32System::CallIsWow64Process(EntryPoint entry, bool* wow64) {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  if (entry == nullptr) return false;
  BOOL flag = FALSE;
  const BOOL result =
      EntryAs<IsWow64ProcessFunction>(entry)(::GetCurrentProcess(), &flag);
  *wow64 = result != FALSE && flag != FALSE;
  return result != FALSE;
}

bool Win32System::CallWow64DisableFsRedirection(EntryPoint entry,
                                                void** old_value) {
  using DisableFunction = BOOL(WINAPI*)(PVOID*);
  if (entry == nullptr) return false;
  return EntryAs<DisableFunction>(entry)(old_value) != FALSE;
}

bool Win32System::CallWow64RevertFsRedirection(EntryPoint entry,
                                               void* old_value) {
  using RevertFunction = BOOL(WINAPI*)(PVOID);
  if (entry == nullptr) return false;
  return EntryAs<RevertFunction>(entry)(old_value) != FALSE;
}

std::optional<std::string> Win32System::Environment(const std::string& name) {
  std::string value(256, '\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableA(
        name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      // 0 is also the length of a variable set to nothing.
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    // Too small: `length` is the size needed, with the terminating NUL.
    value.resize(length);
  }
}

std::string Win32System::TempPath(std::uint32_t buffer_size) {
  std::string path(buffer_size, '\0');
  const DWORD length = ::GetTempPathA(buffer_size, path.data());
  // On success the length leaves room for the NUL; otherwise it is the size
  // needed, or 0.
  if (length == 0 || length >= buffer_size) return std::string();
  path.resize(length);
  return path;
}

std::string Win32System::ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(),
                                              static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    // A truncated name fills the buffer.
    if (length < path.size() || path.size() >= kLongestPath) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

platform::ErrorCode Win32System::LastError() { return ::GetLastError(); }

void Win32System::SetLastError(platform::ErrorCode code) {
  ::SetLastError(code);
}

std::string Win32System::ErrorMessage(platform::ErrorCode code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  ScopedLocalMemory owner(text);
  if (length == 0 || text == nullptr) return std::string();
  return std::string(text, length);
}

}  // namespace plumeta::win32
