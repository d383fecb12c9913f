// In-memory stand-ins for the platform calls the widgets make beside the
// application and the dialogs (fake_application.h, fake_dialogs.h): a main
// window, the notification area, balloon windows and the desktop's top-level
// windows. They write what they are asked into one call log, which the
// application and dialogs fakes can share, so that a test can check the order
// of calls across them.
#ifndef TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_
#define TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/balloon_windows.h"
#include "platform/notification_area.h"
#include "platform/top_level_windows.h"
#include "platform/window.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeWindow : public platform::Window {
 public:
  explicit FakeWindow(CallLog& log) : log_(log) {}

  bool visible = true;
  bool minimized = false;
  std::map<int, platform::Application::MessageHook> hooks;

  void Send(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

  void SetVisible(bool visible) override;
  bool Visible() override { return visible; }
  bool Minimized() override { return minimized; }
  void SetNormalState() override;
  void SetForeground() override;
  int AddMessageHook(platform::Application::MessageHook hook) override;
  void RemoveMessageHook(int id) override;
  void PostWindowMessage(std::uint32_t message, std::uintptr_t wparam,
                         std::intptr_t lparam) override;

 private:
  CallLog& log_;
  int next_hook_ = 1;
};

class FakeNotificationArea : public platform::NotificationArea {
 public:
  explicit FakeNotificationArea(CallLog& log) : log_(log) {}

  static constexpr platform::WindowHandle kHandlerWindow = 0x4242;
  static constexpr std::uint32_t kTaskbarCreated = 0xC0DE;

  struct Call {
    platform::NotifyOperation operation;
    platform::NotifyIconRecord record;
  };
  std::vector<Call> calls;
  bool accept = true;
  std::optional<platform::ModuleVersion> common_controls =
      platform::ModuleVersion{5, 82};
  int hidden_windows_created = 0;
  int hidden_windows_alive = 0;
  // Icon resources that exist, with their handles.
  std::map<std::string, platform::IconHandle> icons = {
      {"TRAY0", 0x100}, {"TRAY1", 0x101}, {"TRAY2", 0x102},   {"TRAY3", 0x103},
      {"TRAY4", 0x104}, {"TRAY5", 0x105}, {"MAINICON", 0x200}};

  bool NotifyIcon(platform::NotifyOperation operation,
                  const platform::NotifyIconRecord& record) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  std::optional<platform::ModuleVersion> CommonControlsVersion() override {
    return common_controls;
  }
  std::unique_ptr<platform::HiddenWindow> CreateHiddenWindow(
      WindowProcedure procedure) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;
  platform::IconHandle LoadIconResource(
      const std::string& resource_name) override;

  // Operations in order: "add", "modify", "delete", "setversion".
  std::vector<std::string> Operations() const;
  WindowProcedure procedure;

 private:
  CallLog& log_;
};

// Labels measured with the host's fixed metric (host_balloon_windows.h): 13
// pixels a line, 6 pixels a character (7 bold), "&" prefixes take no room.
class FakeBalloonWindows : public platform::BalloonWindows {
 public:
  struct Shown {
    platform::BalloonWindowLayout layout;
    std::function<void()> on_click;
    std::shared_ptr<bool> alive;
  };
  std::vector<Shown> shown;

  platform::Size MeasureLabel(const std::string& text, bool bold) override;
  std::unique_ptr<platform::BalloonWindow> Show(
      const platform::BalloonWindowLayout& layout,
      std::function<void()> on_click) override;
};

class FakeTopLevelWindows : public platform::TopLevelWindows {
 public:
  explicit FakeTopLevelWindows(CallLog& log) : log_(log) {}

  platform::TopLevelWindow own{1, "TApplication", "Plumeta"};
  std::vector<platform::TopLevelWindow> windows;
  std::map<platform::WindowHandle, platform::WindowHandle> popups;
  std::vector<platform::WindowHandle> iconic;

  platform::TopLevelWindow ApplicationWindow() override { return own; }
  std::vector<platform::TopLevelWindow> EnumWindows() override {
    return windows;
  }
  platform::WindowHandle LastActivePopup(
      platform::WindowHandle window) override;
  bool BringWindowToTop(platform::WindowHandle window) override;
  bool IsIconic(platform::WindowHandle window) override;
  bool Restore(platform::WindowHandle window) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;

 private:
  CallLog& log_;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_
