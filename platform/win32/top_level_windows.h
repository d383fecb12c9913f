// platform/win32: Win32 calls only, in their ANSI ("A") forms. The desktop's
// top-level windows for the single-instance guard.
#ifndef PLATFORM_WIN32_TOP_LEVEL_WINDOWS_H_
#define PLATFORM_WIN32_TOP_LEVEL_WINDOWS_H_

#include <functional>
#include <vector>

#include "platform/top_level_windows.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32TopLevelWindows : public platform::TopLevelWindows {
 public:
  // `application_window` gives the program's own application window when
  // asked (it may be created after this object).
  explicit Win32TopLevelWindows(std::function<HWND()> application_window)
      : application_window_(std::move(application_window)) {}

  platform::TopLevelWindow ApplicationWindow() override;
  std::vector<platform::TopLevelWindow> EnumWindows() override;
  platform::WindowHandle LastActivePopup(
      platform::WindowHandle window) override;
  bool BringWindowToTop(platform::WindowHandle window) override;
  bool IsIconic(platform::WindowHandle window) override;
  bool Restore(platform::WindowHandle window) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;

 private:
  std::function<HWND()> application_window_;
};

// A window with its class name and title, each read into 256 bytes.
platform::TopLevelWindow DescribeWindow(HWND window);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_TOP_LEVEL_WINDOWS_H_
