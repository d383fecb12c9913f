// platform/win32: Win32 calls only, in their ANSI ("A") forms. Version,
// WOW64, environment and error facts through kernel32.
#ifndef PLATFORM_WIN32_SYSTEM_H_
#define PLATFORM_WIN32_SYSTEM_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/system.h"

namespace plumeta::win32 {

class Win32System : public platform::System {
 public:
  std::optional<platform::VersionInfo> Version() override;
  // A null entry point is not called: the result is false.
  bool CallIsWow64Process(platform::EntryPoint entry, bool* wow64) override;
  bool CallWow64DisableFsRedirection(platform::EntryPoint entry,
                                     void** old_value) override;
  bool CallWow64RevertFsRedirection(platform::EntryPoint entry,
                                    void* old_value) override;
  std::optional<std::string> Environment(const std::string& name) override;
  std::string TempPath(std::uint32_t buffer_size) override;
  std::string ProgramPath() override;
  platform::ErrorCode LastError() override;
  void SetLastError(platform::ErrorCode code) override;
  std::string ErrorMessage(platform::ErrorCode code) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_SYSTEM_H_
