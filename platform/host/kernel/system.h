// Host stand-in (Linux only). platform::System over the box: the version and
// the WOW64 answers from system.ini, its environment, the temporary folder
// as GetTempPathA finds it, the program's Windows path, Windows' error texts.
#ifndef PLATFORM_HOST_KERNEL_SYSTEM_H_
#define PLATFORM_HOST_KERNEL_SYSTEM_H_

#include <memory>

#include "platform/host/box/box_process.h"
#include "platform/system.h"

namespace plumeta::host {

class HostSystem : public platform::System {
 public:
  explicit HostSystem(std::shared_ptr<BoxProcess> process);

  std::optional<platform::VersionInfo> Version() override;
  // Each call checks that `entry` is the stand-in kernel32's entry point of
  // that name (else FALSE with kErrorInvalidParameter). Off a 64-bit box the
  // redirection calls fail with ERROR_INVALID_FUNCTION, as on 32-bit Windows.
  bool CallIsWow64Process(platform::EntryPoint entry, bool* wow64) override;
  bool CallWow64DisableFsRedirection(platform::EntryPoint entry,
                                     void** old_value) override;
  bool CallWow64RevertFsRedirection(platform::EntryPoint entry,
                                    void* old_value) override;
  std::optional<std::string> Environment(const std::string& name) override;
  // TMP, else TEMP, else USERPROFILE, else the Windows folder, as a full path
  // with a trailing backslash; empty when that and its NUL do not fit.
  std::string TempPath(std::uint32_t buffer_size) override;
  // The running Linux program's folder as a Windows path, with the program's
  // Windows file name (ProgramFileName()).
  std::string ProgramPath() override;
  platform::ErrorCode LastError() override;
  void SetLastError(platform::ErrorCode code) override;
  std::string ErrorMessage(platform::ErrorCode code) override;

 private:
  std::shared_ptr<BoxProcess> process_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_SYSTEM_H_
