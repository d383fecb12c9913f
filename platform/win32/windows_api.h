// platform/win32: Win32 calls only, in their ANSI ("A") forms. The one way the
// Win32 implementation includes <windows.h>.
#ifndef PLATFORM_WIN32_WINDOWS_API_H_
#define PLATFORM_WIN32_WINDOWS_API_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

// <windows.h> maps MessageBox to MessageBoxA or MessageBoxW; the platform
// interface has a member of that name, and this code calls the "A" form by
// its own name.
#ifdef MessageBox
#undef MessageBox
#endif

#include "platform/error_codes.h"

namespace plumeta::win32 {

// The calling thread's last error, or `fallback` when a call failed without
// setting one: a failure must never read as success.
inline platform::ErrorCode LastErrorOr(platform::ErrorCode fallback) {
  const DWORD code = ::GetLastError();
  return code != ERROR_SUCCESS ? code : fallback;
}

// The code of the call that just failed (ERROR_GEN_FAILURE when it set none).
inline platform::ErrorCode LastFailure() {
  return LastErrorOr(ERROR_GEN_FAILURE);
}

// An entry point of a system library that older Windows versions lack, looked
// up by name in a library the program has already loaded; null when absent.
template <typename Function>
Function FindSystemEntry(const char* library, const char* name) {
  HMODULE module = ::GetModuleHandleA(library);
  if (module == nullptr) return nullptr;
  FARPROC entry = ::GetProcAddress(module, name);
  // Through void(*)(), which converts to any function pointer type without
  // -Wcast-function-type complaining.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WINDOWS_API_H_
