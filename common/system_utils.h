// Small system facts both programs use: whether a 32-bit process runs on
// 64-bit Windows, the switch for its file-system redirection, the system
// folders a file in system32 is to be kept in, and the user's temporary
// folder.
#ifndef COMMON_SYSTEM_UTILS_H_
#define COMMON_SYSTEM_UTILS_H_

#include <functional>
#include <string>

#include "common/module_list.h"
#include "platform/system.h"

namespace plumeta {

class SystemUtils {
 public:
  SystemUtils(platform::System& system, ModuleList& modules);

  // True only when IsWow64Process exists, succeeds and reports WOW64. Where
  // the entry point is missing the last error becomes ERROR_NOT_SUPPORTED.
  bool IsWow64();
  // Wow64DisableWow64FsRedirection; false without a call where it is missing.
  bool DisableFsRedirection(void** old_value);
  // Wow64RevertWow64FsRedirection; false without a call where it is missing.
  bool RevertFsRedirection(void* old_value);
  // The user's temporary folder with its trailing backslash.
  std::string TempFolder();

 private:
  platform::System& system_;
  ModuleList& modules_;
};

// Turns the WOW64 file-system redirection off for its lifetime when
// `under_wow64`, so that a 32-bit process on 64-bit Windows reaches the native
// system folder, and back on with the kept value at its end, also when an
// exception leaves the scope.
class NativeSystemFolder {
 public:
  NativeSystemFolder(SystemUtils& utils, bool under_wow64)
      : utils_(utils), switched_(under_wow64) {
    if (switched_) utils_.DisableFsRedirection(&old_value_);
  }
  ~NativeSystemFolder() {
    if (switched_) utils_.RevertFsRedirection(old_value_);
  }
  NativeSystemFolder(const NativeSystemFolder&) = delete;
  NativeSystemFolder& operator=(const NativeSystemFolder&) = delete;

 private:
  SystemUtils& utils_;
  bool switched_;
  void* old_value_ = nullptr;
};

// Runs `step` once for each system folder that programs open as
// "%windir%\system32": the native one, with the redirection off, and under
// WOW64 then the 32-bit one (SysWOW64), with it on, where a 32-bit program
// such as the port's Ghostscript lands by that same path. Both steps run;
// the result is the first failure, or kSuccess.
platform::ErrorCode InEachSystemFolder(
    SystemUtils& utils, bool under_wow64,
    const std::function<platform::ErrorCode()>& step);

}  // namespace plumeta

#endif  // COMMON_SYSTEM_UTILS_H_
