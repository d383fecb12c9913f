// In-memory stand-ins for the platform calls the widgets make: an
// application whose timers a test fires by hand, a main window, the popup
// menu dialog, the notification area, balloon windows and the desktop's
// top-level windows. They write what they are asked into one shared call log,
// so that a test can check the order of calls across them.
#ifndef TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_
#define TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/balloon_windows.h"
#include "platform/dialogs.h"
#include "platform/notification_area.h"
#include "platform/top_level_windows.h"
#include "platform/window.h"

namespace plumeta::widget_testing {

using CallLog = std::vector<std::string>;

class FakeApplication : public platform::Application {
 public:
  explicit FakeApplication(CallLog& log) : log_(log) {}

  struct Timer {
    std::uint32_t interval;
    std::function<void()> tick;
  };
  std::map<TimerId, Timer> timers;
  bool refuse_timers = false;
  std::deque<std::function<void()>> posted;
  std::map<int, MessageHook> hooks;
  bool application_window_visible = true;
  std::optional<platform::Point> cursor = platform::Point{1200, 1000};
  bool terminated = false;

  // Ticks every timer of `interval_ms` once (in creation order).
  int FireTimers(std::uint32_t interval_ms);
  // The one live timer's interval; 0 when there is none.
  std::uint32_t OnlyTimerInterval() const;
  void RunPosted();
  void SendApplicationMessage(std::uint32_t message, std::uintptr_t wparam,
                              std::intptr_t lparam);

  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() override { return title_; }
  void Terminate() override;
  bool Terminated() override { return terminated; }
  void Run() override {}
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t) override { ProcessMessages(); }
  void Post(std::function<void()> call) override;
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint64_t TickCount() override { return 0; }
  void RestoreApplication() override;
  bool ApplicationWindowVisible() override {
    return application_window_visible;
  }
  void HideApplicationWindow() override;
  void ForegroundApplicationWindow() override;
  int AddApplicationHook(MessageHook hook) override;
  void RemoveApplicationHook(int id) override;
  platform::Size ScreenSize() override { return {1280, 1024}; }
  std::optional<platform::Point> CursorPos() override { return cursor; }

 private:
  CallLog& log_;
  std::string title_ = "Plumeta";
  TimerId next_timer_ = 1;
  int next_hook_ = 1;
};

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

class FakeDialogs : public platform::Dialogs {
 public:
  explicit FakeDialogs(CallLog& log) : log_(log) {}

  // What the user chooses in the next popup menus ("" = nothing).
  std::deque<std::string> menu_choices;
  std::vector<std::vector<platform::MenuItemView>> shown_menus;
  std::vector<platform::Point> menu_points;

  std::string InputBox(const std::string&, const std::string&,
                       const std::string& initial) override {
    return initial;
  }
  std::optional<std::string> SaveDialog(
      const platform::SaveDialogRequest&) override {
    return std::nullopt;
  }
  std::string TrackPopupMenu(const std::vector<platform::MenuItemView>& items,
                             platform::Point at) override;

 private:
  CallLog& log_;
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

}  // namespace plumeta::widget_testing

#endif  // TESTS_UNIT_SUPPORT_WIDGET_FAKES_H_
