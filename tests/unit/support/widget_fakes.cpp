#include "tests/unit/support/widget_fakes.h"

#include <algorithm>
#include <utility>

#include "platform/host/console/balloon_windows.h"

namespace plumeta::widget_testing {

namespace {

std::string Hex(std::uintptr_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + text;
}

const char* OperationName(platform::NotifyOperation operation) {
  switch (operation) {
    case platform::NotifyOperation::kAdd:
      return "add";
    case platform::NotifyOperation::kModify:
      return "modify";
    case platform::NotifyOperation::kDelete:
      return "delete";
    case platform::NotifyOperation::kSetVersion:
      return "setversion";
  }
  return "?";
}

class FakeHiddenWindow : public platform::HiddenWindow {
 public:
  explicit FakeHiddenWindow(int& alive) : alive_(alive) { ++alive_; }
  ~FakeHiddenWindow() override { --alive_; }
  platform::WindowHandle Handle() override {
    return FakeNotificationArea::kHandlerWindow;
  }

 private:
  int& alive_;
};

class FakeBalloonWindow : public platform::BalloonWindow {
 public:
  explicit FakeBalloonWindow(std::shared_ptr<bool> alive)
      : alive_(std::move(alive)) {}
  ~FakeBalloonWindow() override { *alive_ = false; }

 private:
  std::shared_ptr<bool> alive_;
};

}  // namespace

// --- FakeApplication --------------------------------------------------------

int FakeApplication::FireTimers(std::uint32_t interval_ms) {
  std::vector<TimerId> due;
  for (const auto& [id, timer] : timers) {
    if (timer.interval == interval_ms) due.push_back(id);
  }
  for (TimerId id : due) {
    auto it = timers.find(id);
    if (it != timers.end()) {
      std::function<void()> tick = it->second.tick;
      tick();
    }
  }
  return static_cast<int>(due.size());
}

std::uint32_t FakeApplication::OnlyTimerInterval() const {
  return timers.size() == 1 ? timers.begin()->second.interval : 0;
}

void FakeApplication::RunPosted() {
  while (!posted.empty()) {
    std::function<void()> call = std::move(posted.front());
    posted.pop_front();
    call();
  }
}

void FakeApplication::SendApplicationMessage(std::uint32_t message,
                                             std::uintptr_t wparam,
                                             std::intptr_t lparam) {
  std::map<int, MessageHook> hooks_now = hooks;
  for (auto& [id, hook] : hooks_now) hook(message, wparam, lparam);
}

void FakeApplication::Terminate() {
  terminated = true;
  log_.push_back("Terminate");
}

void FakeApplication::ProcessMessages() {
  log_.push_back("ProcessMessages");
  RunPosted();
}

void FakeApplication::Post(std::function<void()> call) {
  posted.push_back(std::move(call));
}

platform::Application::TimerId FakeApplication::SetTimer(
    std::uint32_t interval_ms, std::function<void()> tick) {
  if (refuse_timers) return 0;
  TimerId id = next_timer_++;
  timers[id] = {interval_ms, std::move(tick)};
  return id;
}

void FakeApplication::KillTimer(TimerId timer) { timers.erase(timer); }

void FakeApplication::RestoreApplication() {
  log_.push_back("RestoreApplication");
}

void FakeApplication::HideApplicationWindow() {
  application_window_visible = false;
  log_.push_back("HideApplicationWindow");
}

void FakeApplication::ForegroundApplicationWindow() {
  log_.push_back("ForegroundApplicationWindow");
}

int FakeApplication::AddApplicationHook(MessageHook hook) {
  hooks[next_hook_] = std::move(hook);
  return next_hook_++;
}

void FakeApplication::RemoveApplicationHook(int id) { hooks.erase(id); }

// --- FakeWindow -------------------------------------------------------------

void FakeWindow::Send(std::uint32_t message, std::uintptr_t wparam,
                      std::intptr_t lparam) {
  std::map<int, platform::Application::MessageHook> hooks_now = hooks;
  for (auto& [id, hook] : hooks_now) hook(message, wparam, lparam);
}

void FakeWindow::SetVisible(bool visible_now) {
  visible = visible_now;
  log_.push_back(visible_now ? "Window.Show" : "Window.Hide");
}

void FakeWindow::SetNormalState() {
  minimized = false;
  log_.push_back("Window.Normal");
}

void FakeWindow::SetForeground() { log_.push_back("Window.Foreground"); }

int FakeWindow::AddMessageHook(platform::Application::MessageHook hook) {
  hooks[next_hook_] = std::move(hook);
  return next_hook_++;
}

void FakeWindow::RemoveMessageHook(int id) { hooks.erase(id); }

void FakeWindow::PostWindowMessage(std::uint32_t message, std::uintptr_t wparam,
                                   std::intptr_t lparam) {
  log_.push_back("Window.PostWindowMessage " + Hex(message) + " " +
                 Hex(wparam) + " " + Hex(static_cast<std::uintptr_t>(lparam)));
}

// --- FakeDialogs ------------------------------------------------------------

std::string FakeDialogs::TrackPopupMenu(
    const std::vector<platform::MenuItemView>& items, platform::Point at) {
  shown_menus.push_back(items);
  menu_points.push_back(at);
  log_.push_back("TrackPopupMenu " + std::to_string(at.x) + "," +
                 std::to_string(at.y));
  if (menu_choices.empty()) return "";
  std::string choice = menu_choices.front();
  menu_choices.pop_front();
  return choice;
}

// --- FakeNotificationArea ---------------------------------------------------

bool FakeNotificationArea::NotifyIcon(
    platform::NotifyOperation operation,
    const platform::NotifyIconRecord& record) {
  calls.push_back({operation, record});
  log_.push_back(std::string("NotifyIcon ") + OperationName(operation));
  return accept;
}

std::uint32_t FakeNotificationArea::RegisterMessage(const std::string& name) {
  log_.push_back("RegisterWindowMessage " + name);
  return name == "TaskbarCreated" ? kTaskbarCreated : 0xC000;
}

std::unique_ptr<platform::HiddenWindow>
FakeNotificationArea::CreateHiddenWindow(WindowProcedure window_procedure) {
  ++hidden_windows_created;
  procedure = std::move(window_procedure);
  return std::make_unique<FakeHiddenWindow>(hidden_windows_alive);
}

bool FakeNotificationArea::SetForegroundWindow(platform::WindowHandle window) {
  log_.push_back("SetForegroundWindow " + Hex(window));
  return true;
}

platform::IconHandle FakeNotificationArea::LoadIconResource(
    const std::string& resource_name) {
  auto it = icons.find(resource_name);
  return it == icons.end() ? 0 : it->second;
}

std::vector<std::string> FakeNotificationArea::Operations() const {
  std::vector<std::string> operations;
  for (const Call& call : calls) {
    operations.push_back(OperationName(call.operation));
  }
  return operations;
}

// --- FakeBalloonWindows -----------------------------------------------------

platform::Size FakeBalloonWindows::MeasureLabel(const std::string& text,
                                                bool bold) {
  return host::FixedLabelSize(text, bold);
}

std::unique_ptr<platform::BalloonWindow> FakeBalloonWindows::Show(
    const platform::BalloonWindowLayout& layout,
    std::function<void()> on_click) {
  auto alive = std::make_shared<bool>(true);
  shown.push_back({layout, std::move(on_click), alive});
  return std::make_unique<FakeBalloonWindow>(alive);
}

// --- FakeTopLevelWindows ----------------------------------------------------

platform::WindowHandle FakeTopLevelWindows::LastActivePopup(
    platform::WindowHandle window) {
  log_.push_back("LastActivePopup " + Hex(window));
  auto it = popups.find(window);
  return it == popups.end() ? window : it->second;
}

bool FakeTopLevelWindows::BringWindowToTop(platform::WindowHandle window) {
  log_.push_back("BringWindowToTop " + Hex(window));
  return true;
}

bool FakeTopLevelWindows::IsIconic(platform::WindowHandle window) {
  return std::find(iconic.begin(), iconic.end(), window) != iconic.end();
}

bool FakeTopLevelWindows::Restore(platform::WindowHandle window) {
  log_.push_back("Restore " + Hex(window));
  return true;
}

bool FakeTopLevelWindows::SetForegroundWindow(platform::WindowHandle window) {
  log_.push_back("SetForegroundWindow " + Hex(window));
  return true;
}

}  // namespace plumeta::widget_testing
