// Small system facts both programs use: whether a 32-bit process runs on
// 64-bit Windows, the switch for its file-system redirection, and the user's
// temporary folder.
#ifndef COMMON_SYSTEM_UTILS_H_
#define COMMON_SYSTEM_UTILS_H_

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

}  // namespace plumeta

#endif  // COMMON_SYSTEM_UTILS_H_
