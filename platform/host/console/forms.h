// Host stand-in (Linux only). Forms on the console: a window is shown or
// hidden ("window<TAB>shown", "window<TAB>hidden" when that changes), and the
// main form takes these commands while no dialog is open:
//
//   button <Name>   a click on that button (or clickable picture), whether
//                   the window is shown or not
//   close           the window's close box
//   click <Name>    an item of the form's popup menu, as if chosen from it
//   session <what>  once the main form watches its session's changes: the
//                   session became (or stopped being) the one in front of
//                   the user, as WM_WTSSESSION_CHANGE tells (console.md)
#ifndef PLATFORM_HOST_CONSOLE_FORMS_H_
#define PLATFORM_HOST_CONSOLE_FORMS_H_

#include <map>
#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/host/console/application.h"

namespace plumeta::host {

class HostFormWindow : public platform::FormWindow {
 public:
  // `session_changes`: the box's Windows can tell a window of them (XP and
  // later).
  HostFormWindow(Console& console, const platform::FormDescription& description,
                 platform::FormEvents events, bool main_form,
                 bool session_changes = true);
  ~HostFormWindow() override;

  void SetVisible(bool visible) override;
  bool Visible() override { return visible_; }
  bool Minimized() override { return false; }
  void SetNormalState() override {}
  void SetForeground() override {}
  int AddMessageHook(platform::Application::MessageHook hook) override;
  void RemoveMessageHook(int id) override;
  platform::ErrorCode WatchSessionChanges() override;
  void SetControlVisible(const std::string& control, bool visible) override;
  bool ControlVisible(const std::string& control) override;
  void Close() override;

 private:
  void ClickControl(const std::string& name);
  void SessionChange(const std::string& what);

  Console& console_;
  platform::FormDescription description_;
  platform::FormEvents events_;
  bool main_form_;
  bool session_changes_;
  bool watching_sessions_ = false;
  bool visible_ = false;
  std::map<std::string, bool> control_visible_;
  std::map<int, platform::Application::MessageHook> hooks_;
  int last_hook_ = 0;
};

class HostForms : public platform::Forms {
 public:
  explicit HostForms(Console& console, bool session_changes = true)
      : console_(console), session_changes_(session_changes) {}
  std::unique_ptr<platform::FormWindow> CreateForm(
      const platform::FormDescription& description,
      platform::FormEvents events) override;

 private:
  Console& console_;
  bool session_changes_;
  bool main_form_created_ = false;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_FORMS_H_
