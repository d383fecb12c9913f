// platform/win32: Win32 calls only, in their ANSI ("A") forms. The shell
// through shell32, and the current folder.
#ifndef PLATFORM_WIN32_SHELL_H_
#define PLATFORM_WIN32_SHELL_H_

#include <functional>

#include "platform/shell.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32Shell : public platform::Shell {
 public:
  // `main_window` gives the program's main window, the owner of what a
  // request owned by it shows; without one such requests have no owner.
  explicit Win32Shell(std::function<HWND()> main_window = {})
      : main_window_(std::move(main_window)) {}

  std::intptr_t Execute(const platform::ShellExecuteRequest& request) override;
  int RunFileOperation(const platform::FileOperation& operation) override;
  bool SetCurrentFolder(const std::string& path) override;

 private:
  std::function<HWND()> main_window_;
};

// The text SHFileOperationA takes for a list of paths: each ended by a NUL,
// the whole by a second NUL.
std::string DoubleNulList(const std::vector<std::string>& paths);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_SHELL_H_
