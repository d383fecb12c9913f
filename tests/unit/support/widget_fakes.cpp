#include "tests/unit/support/widget_fakes.h"

#include <algorithm>
#include <utility>

#include "platform/host/console/balloon_windows.h"

namespace plumeta::testing {

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

// --- FakeWindow -------------------------------------------------------------

void FakeWindow::Send(std::uint32_t message, std::uintptr_t wparam,
                      std::intptr_t lparam) {
  std::map<int, platform::Application::MessageHook> hooks_now = hooks;
  for (auto& [id, hook] : hooks_now) hook(message, wparam, lparam);
}

void FakeWindow::SetVisible(bool visible_now) {
  visible = visible_now;
  log_.Add(visible_now ? "Window.Show" : "Window.Hide");
}

void FakeWindow::SetNormalState() {
  minimized = false;
  log_.Add("Window.Normal");
}

void FakeWindow::SetForeground() { log_.Add("Window.Foreground"); }

int FakeWindow::AddMessageHook(platform::Application::MessageHook hook) {
  hooks[next_hook_] = std::move(hook);
  return next_hook_++;
}

void FakeWindow::RemoveMessageHook(int id) { hooks.erase(id); }

void FakeWindow::PostWindowMessage(std::uint32_t message, std::uintptr_t wparam,
                                   std::intptr_t lparam) {
  log_.Add("Window.PostWindowMessage " + Hex(message) + " " + Hex(wparam) +
           " " + Hex(static_cast<std::uintptr_t>(lparam)));
}

// --- FakeNotificationArea ---------------------------------------------------

bool FakeNotificationArea::NotifyIcon(
    platform::NotifyOperation operation,
    const platform::NotifyIconRecord& record) {
  calls.push_back({operation, record});
  log_.Add(std::string("NotifyIcon ") + OperationName(operation));
  return accept;
}

std::uint32_t FakeNotificationArea::RegisterMessage(const std::string& name) {
  log_.Add("RegisterWindowMessage " + name);
  return name == "TaskbarCreated" ? kTaskbarCreated : 0xC000;
}

std::unique_ptr<platform::HiddenWindow>
FakeNotificationArea::CreateHiddenWindow(WindowProcedure window_procedure) {
  ++hidden_windows_created;
  procedure = std::move(window_procedure);
  return std::make_unique<FakeHiddenWindow>(hidden_windows_alive);
}

bool FakeNotificationArea::SetForegroundWindow(platform::WindowHandle window) {
  log_.Add("SetForegroundWindow " + Hex(window));
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
  log_.Add("LastActivePopup " + Hex(window));
  auto it = popups.find(window);
  return it == popups.end() ? window : it->second;
}

bool FakeTopLevelWindows::BringWindowToTop(platform::WindowHandle window) {
  log_.Add("BringWindowToTop " + Hex(window));
  return true;
}

bool FakeTopLevelWindows::IsIconic(platform::WindowHandle window) {
  return std::find(iconic.begin(), iconic.end(), window) != iconic.end();
}

bool FakeTopLevelWindows::Restore(platform::WindowHandle window) {
  log_.Add("Restore " + Hex(window));
  return true;
}

bool FakeTopLevelWindows::SetForegroundWindow(platform::WindowHandle window) {
  log_.Add("SetForegroundWindow " + Hex(window));
  return true;
}

}  // namespace plumeta::testing
