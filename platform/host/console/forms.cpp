// Host stand-in (Linux only).
#include "platform/host/console/forms.h"

#include <utility>

#include "platform/window_messages.h"

namespace plumeta::host {
namespace {

// The session command's words for WM_WTSSESSION_CHANGE's wParam.
constexpr std::pair<const char*, std::uintptr_t> kSessionChanges[] = {
    {"console-connect", platform::kWtsConsoleConnect},
    {"console-disconnect", platform::kWtsConsoleDisconnect},
    {"remote-connect", platform::kWtsRemoteConnect},
    {"remote-disconnect", platform::kWtsRemoteDisconnect},
    {"logon", platform::kWtsSessionLogon},
    {"logoff", platform::kWtsSessionLogoff},
    {"lock", platform::kWtsSessionLock},
    {"unlock", platform::kWtsSessionUnlock},
};

}  // namespace

HostFormWindow::HostFormWindow(Console& console,
                               const platform::FormDescription& description,
                               platform::FormEvents events, bool main_form,
                               bool session_changes)
    : console_(console),
      description_(description),
      events_(std::move(events)),
      main_form_(main_form),
      session_changes_(session_changes) {
  for (const auto& control : description_.controls) {
    control_visible_[control.name] = control.visible;
  }
  if (!main_form_) return;
  console_.RegisterCommand(
      "button", [this](const std::string& name) { ClickControl(name); });
  console_.RegisterCommand("close", [this](const std::string&) { Close(); });
  console_.RegisterCommand("click", [this](const std::string& name) {
    if (!events_.on_menu_item || !events_.on_menu_item(name)) {
      console_.Refuse("click " + name, "no menu item of that name to click");
    }
  });
}

HostFormWindow::~HostFormWindow() {
  if (!main_form_) return;
  for (const char* command : {"button", "close", "click"}) {
    console_.UnregisterCommand(command);
  }
  if (watching_sessions_) console_.UnregisterCommand("session");
}

void HostFormWindow::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  console_.Event("window", {visible ? "shown" : "hidden"});
}

int HostFormWindow::AddMessageHook(platform::Application::MessageHook hook) {
  hooks_[++last_hook_] = std::move(hook);
  return last_hook_;
}

void HostFormWindow::RemoveMessageHook(int id) { hooks_.erase(id); }

platform::ErrorCode HostFormWindow::WatchSessionChanges() {
  if (!session_changes_) return platform::kErrorProcedureNotFound;
  if (watching_sessions_ || !main_form_) return platform::kSuccess;
  watching_sessions_ = true;
  console_.RegisterCommand(
      "session", [this](const std::string& what) { SessionChange(what); });
  return platform::kSuccess;
}

void HostFormWindow::SessionChange(const std::string& what) {
  for (const auto& [word, change] : kSessionChanges) {
    if (what != word) continue;
    // Hooks may remove themselves; they run from a copy.
    const auto hooks = hooks_;
    for (const auto& [id, hook] : hooks) {
      hook(platform::kWmWtsSessionChange, change, 0);
    }
    return;
  }
  console_.Refuse("session " + what, "no such session change");
}

void HostFormWindow::SetControlVisible(const std::string& control,
                                       bool visible) {
  control_visible_[control] = visible;
}

bool HostFormWindow::ControlVisible(const std::string& control) {
  auto found = control_visible_.find(control);
  return found != control_visible_.end() && found->second;
}

void HostFormWindow::Close() {
  if (events_.on_close) events_.on_close();
}

void HostFormWindow::ClickControl(const std::string& name) {
  for (const auto& control : description_.controls) {
    if (control.name != name) continue;
    const bool clickable =
        control.kind == platform::ControlKind::kButton || control.clickable;
    if (clickable && ControlVisible(name) && events_.on_click) {
      events_.on_click(name);
      return;
    }
  }
  console_.Refuse("button " + name, "no visible button of that name");
}

std::unique_ptr<platform::FormWindow> HostForms::CreateForm(
    const platform::FormDescription& description, platform::FormEvents events) {
  const bool main_form = !main_form_created_;
  main_form_created_ = true;
  return std::make_unique<HostFormWindow>(
      console_, description, std::move(events), main_form, session_changes_);
}

}  // namespace plumeta::host
