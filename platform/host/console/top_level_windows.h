// Host stand-in (Linux only). The box's running programs as top-level
// windows: each host program that creates this object puts its application
// window (class name, title, process id) into its user's desktop,
//   <box>/top_level_windows.txt      one "pid<TAB>class<TAB>title" a line
// (top_level_windows.<user>.txt for another user than the box's own, see
// box_user.h) under the lock of <box>/top_level_windows.lock (likewise), keeps
// its title current there, and takes the line away when the object goes. Lines
// of processes that are gone are dropped. A window's handle is its program's
// process id.
#ifndef PLATFORM_HOST_CONSOLE_TOP_LEVEL_WINDOWS_H_
#define PLATFORM_HOST_CONSOLE_TOP_LEVEL_WINDOWS_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/top_level_windows.h"

namespace plumeta::host {

// The class name of the host programs' application windows.
inline constexpr char kApplicationWindowClass[] = "TApplication";

class HostTopLevelWindows : public platform::TopLevelWindows {
 public:
  // `title` gives the application window's title when asked; `user` is
  // another user than the box's own, or empty.
  HostTopLevelWindows(std::string box_folder,
                      std::function<std::string()> title,
                      const std::string& user = "");
  ~HostTopLevelWindows() override;
  HostTopLevelWindows(const HostTopLevelWindows&) = delete;
  HostTopLevelWindows& operator=(const HostTopLevelWindows&) = delete;

  platform::TopLevelWindow ApplicationWindow() override;
  std::vector<platform::TopLevelWindow> EnumWindows() override;
  platform::WindowHandle LastActivePopup(
      platform::WindowHandle window) override {
    return window;
  }
  // True while the window's program runs.
  bool BringWindowToTop(platform::WindowHandle window) override;
  bool IsIconic(platform::WindowHandle) override { return false; }
  bool Restore(platform::WindowHandle window) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;

  std::string TableFile() const;
  std::string LockFile() const;

 private:
  // Rewrites the table under its lock: dead programs out, this one's line
  // as `present` says; the windows in the table afterwards.
  std::vector<platform::TopLevelWindow> Update(bool present);

  std::string box_folder_;
  std::string desktop_;  // "" or ".<user>"
  std::function<std::string()> title_;
  platform::WindowHandle own_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_TOP_LEVEL_WINDOWS_H_
