// Host stand-in (Linux only).
#include "platform/host/console/notification_area.h"

#include <algorithm>

#include "platform/host/console/console_events.h"
#include "platform/window_messages.h"

namespace plumeta::host {

namespace {

constexpr std::intptr_t kLButtonDblClk = platform::kWmLButtonDblClk;
constexpr std::intptr_t kRButtonDown = platform::kWmRButtonDown;
constexpr std::intptr_t kRButtonUp = platform::kWmRButtonUp;
constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;

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
  return "modify";
}

bool SameIcon(const platform::NotifyIconRecord& a,
              const platform::NotifyIconRecord& b) {
  return a.window == b.window && a.id == b.id;
}

}  // namespace

class HostHiddenWindow : public platform::HiddenWindow {
 public:
  HostHiddenWindow(std::shared_ptr<HostNotificationArea*> area,
                   platform::WindowHandle handle)
      : area_(std::move(area)), handle_(handle) {}
  ~HostHiddenWindow() override {
    if (*area_ != nullptr) (*area_)->windows_.erase(handle_);
  }
  platform::WindowHandle Handle() override { return handle_; }

 private:
  std::shared_ptr<HostNotificationArea*> area_;
  platform::WindowHandle handle_;
};

HostNotificationArea::HostNotificationArea(std::ostream& events,
                                           Console* console)
    : events_(events),
      console_(console),
      self_(std::make_shared<HostNotificationArea*>(this)) {
  if (console_ == nullptr) return;
  console_->RegisterCommand("rclick", [this](const std::string&) {
    if (!RightClick()) console_->Refuse("rclick", "no icon in the tray");
  });
  console_->RegisterCommand("dblclick", [this](const std::string&) {
    if (!DoubleClick()) console_->Refuse("dblclick", "no icon in the tray");
  });
}

HostNotificationArea::~HostNotificationArea() {
  *self_ = nullptr;
  if (console_ == nullptr) return;
  console_->UnregisterCommand("rclick");
  console_->UnregisterCommand("dblclick");
}

bool HostNotificationArea::NotifyIcon(
    platform::NotifyOperation operation,
    const platform::NotifyIconRecord& record) {
  auto it = std::find_if(icons_.begin(), icons_.end(),
                         [&record](const platform::NotifyIconRecord& icon) {
                           return SameIcon(icon, record);
                         });
  const bool present = it != icons_.end();
  switch (operation) {
    case platform::NotifyOperation::kAdd:
      if (present) return false;
      icons_.push_back(record);
      break;
    case platform::NotifyOperation::kModify:
      if (!present) return false;
      *it = record;
      break;
    case platform::NotifyOperation::kDelete:
      if (!present) return false;
      icons_.erase(it);
      break;
    case platform::NotifyOperation::kSetVersion:
      if (!present) return false;
      break;
  }
  events_ << EventLine("tray", {OperationName(operation),
                                std::to_string(record.image_index), record.tip})
          << '\n'
          << std::flush;
  return true;
}

std::uint32_t HostNotificationArea::RegisterMessage(const std::string& name) {
  auto [it, added] =
      messages_.emplace(name, kFirstRegisteredMessage +
                                  static_cast<std::uint32_t>(messages_.size()));
  return it->second;
}

std::optional<platform::ModuleVersion>
HostNotificationArea::CommonControlsVersion() {
  return platform::ModuleVersion{5, 82};
}

std::unique_ptr<platform::HiddenWindow>
HostNotificationArea::CreateHiddenWindow(WindowProcedure procedure) {
  platform::WindowHandle handle = next_window_++;
  windows_[handle] = std::move(procedure);
  return std::make_unique<HostHiddenWindow>(self_, handle);
}

bool HostNotificationArea::SetForegroundWindow(platform::WindowHandle window) {
  return windows_.count(window) > 0;
}

platform::IconHandle HostNotificationArea::LoadIconResource(
    const std::string& resource_name) {
  if (resource_name.empty()) return 0;
  auto [it, added] = icon_handles_.emplace(
      resource_name, 0x20000 + icon_handles_.size() * 0x10);
  return it->second;
}

bool HostNotificationArea::RightClick() {
  if (!Notify(kRButtonDown)) return false;
  Notify(kRButtonUp);
  return true;
}

bool HostNotificationArea::DoubleClick() { return Notify(kLButtonDblClk); }

bool HostNotificationArea::Notify(std::intptr_t mouse_message) {
  if (icons_.empty()) return false;
  const platform::NotifyIconRecord icon = icons_.back();
  Send(icon.window, icon.callback_message, icon.id, mouse_message);
  return true;
}

std::optional<std::intptr_t> HostNotificationArea::Send(
    platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
    std::intptr_t lparam) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return std::nullopt;
  WindowProcedure procedure = it->second;
  return procedure(message, wparam, lparam);
}

std::vector<platform::NotifyIconRecord> HostNotificationArea::Icons() const {
  return icons_;
}

}  // namespace plumeta::host

namespace plumeta::platform {

std::unique_ptr<NotificationArea> CreateNotificationArea() {
  return std::make_unique<host::HostNotificationArea>(
      std::cout, &host::Console::Instance());
}

}  // namespace plumeta::platform
