// platform/win32: Win32 calls only, in their ANSI ("A") forms.
// The security of a file only administrators and the system may touch.
#ifndef PLATFORM_WIN32_PROTECTED_FILE_SECURITY_H_
#define PLATFORM_WIN32_PROTECTED_FILE_SECURITY_H_

#include <cstdint>

#include "platform/error_codes.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

// The same access list in the system's string form: full access for
// Administrators and SYSTEM, nothing inherited.
inline constexpr char kAdministratorsAndSystemOnlySddl[] =
    "D:P(A;;FA;;;BA)(A;;FA;;;SY)";

// Security attributes granting full access to Administrators and SYSTEM
// only, built with the calls Windows NT 4.0 already has; on Windows 2000 and
// later the list is also protected from the folder's inheritable entries.
// Systems without file security (Windows 9x) get no descriptor.
class ProtectedFileSecurity {
 public:
  ProtectedFileSecurity() = default;
  ProtectedFileSecurity(const ProtectedFileSecurity&) = delete;
  ProtectedFileSecurity& operator=(const ProtectedFileSecurity&) = delete;

  // kSuccess, or the system's code when a call that exists fails.
  platform::ErrorCode Build();

  // Null until Build succeeded on a system with file security.
  SECURITY_ATTRIBUTES* Attributes() { return built_ ? &attributes_ : nullptr; }

 private:
  // SIDs and the list live here; the descriptor points into them.
  alignas(DWORD) std::uint8_t administrators_[SECURITY_MAX_SID_SIZE] = {};
  alignas(DWORD) std::uint8_t system_[SECURITY_MAX_SID_SIZE] = {};
  alignas(DWORD) std::uint8_t acl_[256] = {};
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool built_ = false;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_PROTECTED_FILE_SECURITY_H_
