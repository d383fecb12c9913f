// Forms whose windows are plain state: what is visible, and the events a test
// raises as the user would.
#ifndef TESTS_UNIT_SUPPORT_FAKE_FORMS_H_
#define TESTS_UNIT_SUPPORT_FAKE_FORMS_H_

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

namespace plumeta::testing {

class FakeFormWindow : public platform::FormWindow {
 public:
  FakeFormWindow(const platform::FormDescription& description,
                 platform::FormEvents events)
      : description(description), events(std::move(events)) {
    for (const auto& control : description.controls) {
      controls[control.name] = control.visible;
    }
  }

  platform::FormDescription description;
  platform::FormEvents events;
  bool visible = false;
  int foreground_requests = 0;
  std::map<std::string, bool> controls;
  std::vector<bool> visibility_changes;
  std::map<int, platform::Application::MessageHook> hooks;
  // WTSRegisterSessionNotification's answers, in turn; success once they
  // run out.
  std::deque<platform::ErrorCode> session_answers;
  int session_requests = 0;
  bool session_registered = false;  // the last request succeeded
  int last_hook = 0;

  void SetVisible(bool shown) override {
    visible = shown;
    visibility_changes.push_back(shown);
  }
  bool Visible() override { return visible; }
  bool Minimized() override { return false; }
  void SetNormalState() override {}
  void SetForeground() override { ++foreground_requests; }
  int AddMessageHook(platform::Application::MessageHook hook) override {
    hooks[++last_hook] = std::move(hook);
    return last_hook;
  }
  void RemoveMessageHook(int id) override { hooks.erase(id); }
  platform::ErrorCode WatchSessionChanges() override {
    ++session_requests;
    platform::ErrorCode answer = platform::kSuccess;
    if (!session_answers.empty()) {
      answer = session_answers.front();
      session_answers.pop_front();
    }
    session_registered = answer == platform::kSuccess;
    return answer;
  }
  // A message to the window, as Windows sends it.
  void Send(std::uint32_t message, std::uintptr_t wparam,
            std::intptr_t lparam) {
    const auto copy = hooks;
    for (const auto& [id, hook] : copy) hook(message, wparam, lparam);
  }
  void SetControlVisible(const std::string& control, bool shown) override {
    controls[control] = shown;
  }
  bool ControlVisible(const std::string& control) override {
    return controls[control];
  }
  void Close() override {
    if (events.on_close) events.on_close();
  }
};

class FakeForms : public platform::Forms {
 public:
  FakeFormWindow* last = nullptr;

  std::unique_ptr<platform::FormWindow> CreateForm(
      const platform::FormDescription& description,
      platform::FormEvents events) override {
    auto window =
        std::make_unique<FakeFormWindow>(description, std::move(events));
    last = window.get();
    return window;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_FORMS_H_
