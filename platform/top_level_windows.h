// The top-level windows of the desktop, as the single-instance guard sees
// them: the program's own application window, every top-level window with its
// class name and title, and the calls that bring another program's window to
// the front.
#ifndef PLATFORM_TOP_LEVEL_WINDOWS_H_
#define PLATFORM_TOP_LEVEL_WINDOWS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_handle.h"

namespace plumeta::platform {

class Application;

// A window with its class name (GetClassNameA) and title (GetWindowTextA),
// each read into a 256-byte buffer, so at most 255 characters; nullopt when
// the call failed.
struct TopLevelWindow {
  WindowHandle handle = 0;
  std::optional<std::string> class_name;
  std::optional<std::string> title;
};

class TopLevelWindows {
 public:
  virtual ~TopLevelWindows() = default;
  // The program's own hidden application window.
  virtual TopLevelWindow ApplicationWindow() = 0;
  // EnumWindows: every top-level window, visible or not, in the system's
  // order.
  virtual std::vector<TopLevelWindow> EnumWindows() = 0;
  virtual WindowHandle LastActivePopup(WindowHandle window) = 0;
  virtual bool BringWindowToTop(WindowHandle window) = 0;
  virtual bool IsIconic(WindowHandle window) = 0;
  virtual bool Restore(WindowHandle window) = 0;  // ShowWindow SW_RESTORE
  virtual bool SetForegroundWindow(WindowHandle window) = 0;
};

// The implementation for the platform being built. The host's reads the
// application window's title from `application` and makes the program's
// application window visible to the other programs of the same box.
std::unique_ptr<TopLevelWindows> CreateTopLevelWindows(
    Application& application);

}  // namespace plumeta::platform

#endif  // PLATFORM_TOP_LEVEL_WINDOWS_H_
