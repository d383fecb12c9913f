// Facts about the running Windows and the process: version information, the
// WOW64 entry points, environment, temporary folder, program path, last error.
#ifndef PLATFORM_SYSTEM_H_
#define PLATFORM_SYSTEM_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/error_codes.h"

namespace plumeta::platform {

// Windows' VER_PLATFORM_* numbers.
enum class PlatformId : std::uint32_t { kWin32s = 0, kWindows9x = 1, kNt = 2 };

// Windows' VER_NT_* numbers; kNotAvailable when the extended version
// information (OSVERSIONINFOEX) cannot be read.
enum class ProductType : std::uint32_t {
  kNotAvailable = 0,
  kWorkstation = 1,
  kDomainController = 2,
  kServer = 3,
};

// What GetVersionExA reports.
struct VersionInfo {
  PlatformId platform = PlatformId::kNt;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::string service_pack;
  ProductType product_type = ProductType::kNotAvailable;
};

// An entry point found in a library; null when there is none.
using EntryPoint = void*;

class System {
 public:
  virtual ~System() = default;
  // nullopt when GetVersionExA fails.
  virtual std::optional<VersionInfo> Version() = 0;

  // Calls through entry points found in "kernel32.dll". Each returns the
  // call's own result (TRUE/FALSE).
  virtual bool CallIsWow64Process(EntryPoint entry, bool* wow64) = 0;
  virtual bool CallWow64DisableFsRedirection(EntryPoint entry,
                                             void** old_value) = 0;
  virtual bool CallWow64RevertFsRedirection(EntryPoint entry,
                                            void* old_value) = 0;

  // nullopt when the variable is not set.
  virtual std::optional<std::string> Environment(const std::string& name) = 0;
  // GetTempPathA into a buffer of `buffer_size` characters: the folder with
  // its trailing backslash, or empty when it does not fit.
  virtual std::string TempPath(std::uint32_t buffer_size) = 0;
  // The full Windows path of the running program file.
  virtual std::string ProgramPath() = 0;
  virtual ErrorCode LastError() = 0;
  virtual void SetLastError(ErrorCode code) = 0;
  // The system's text for an error code (FormatMessage), as it gives it.
  virtual std::string ErrorMessage(ErrorCode code) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_SYSTEM_H_
