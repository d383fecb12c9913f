// Host stand-in (Linux only). The notification area as console events: every
// call the shell accepts is the event
//   tray<TAB>add|modify|delete|setversion<TAB>image index<TAB>tooltip
// The shell's rules are kept: an icon is added once, and only an icon that
// is there can be modified, deleted or given a version. The console's
// `rclick` and `dblclick` lines reach the icon added last through
// RightClick() and DoubleClick(), as the shell's notifications would; the
// area registers them with the console it is given.
#ifndef PLATFORM_HOST_CONSOLE_NOTIFICATION_AREA_H_
#define PLATFORM_HOST_CONSOLE_NOTIFICATION_AREA_H_

#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/console/console.h"
#include "platform/notification_area.h"

namespace plumeta::host {

class HostNotificationArea : public platform::NotificationArea {
 public:
  // With a console, its `rclick` and `dblclick` commands click the icon
  // while this area exists.
  explicit HostNotificationArea(std::ostream& events = std::cout,
                                Console* console = nullptr);
  ~HostNotificationArea() override;

  bool NotifyIcon(platform::NotifyOperation operation,
                  const platform::NotifyIconRecord& record) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  std::optional<platform::ModuleVersion> CommonControlsVersion() override;
  std::unique_ptr<platform::HiddenWindow> CreateHiddenWindow(
      WindowProcedure procedure) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;
  platform::IconHandle LoadIconResource(
      const std::string& resource_name) override;

  // The right button pressed and the left one double-clicked on the icon
  // added last; false when no icon is in the tray.
  bool RightClick();
  bool DoubleClick();
  // Sends a message to a hidden window: its procedure's answer, nullopt for
  // default processing (also for a window that does not exist).
  std::optional<std::intptr_t> Send(platform::WindowHandle window,
                                    std::uint32_t message,
                                    std::uintptr_t wparam,
                                    std::intptr_t lparam);
  // The icons in the tray, oldest first.
  std::vector<platform::NotifyIconRecord> Icons() const;

 private:
  friend class HostHiddenWindow;
  bool Notify(std::intptr_t mouse_message);

  std::ostream& events_;
  Console* console_;
  std::vector<platform::NotifyIconRecord> icons_;
  std::map<platform::WindowHandle, WindowProcedure> windows_;
  platform::WindowHandle next_window_ = 0x10010;
  std::map<std::string, std::uint32_t> messages_;
  std::map<std::string, platform::IconHandle> icon_handles_;
  // Hidden windows outlive nothing: they unregister through this.
  std::shared_ptr<HostNotificationArea*> self_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_NOTIFICATION_AREA_H_
