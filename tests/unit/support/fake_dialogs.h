// Dialogs that record what they were asked and answer from queues a test
// fills. An input box without a queued answer is cancelled. With a `log`,
// each popup menu goes into it ("dialogs popup-menu <x>,<y>").
#ifndef TESTS_UNIT_SUPPORT_FAKE_DIALOGS_H_
#define TESTS_UNIT_SUPPORT_FAKE_DIALOGS_H_

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

struct InputRequest {
  std::string caption;
  std::string prompt;
  std::string initial;
};

struct MenuRequest {
  std::vector<platform::MenuItemView> items;
  platform::Point at;
};

class FakeDialogs : public platform::Dialogs {
 public:
  FakeDialogs() = default;
  explicit FakeDialogs(CallLog& call_log) : log(&call_log) {}

  CallLog* log = nullptr;
  std::vector<InputRequest> inputs;
  // nullopt: the user cancels.
  std::deque<std::optional<std::string>> input_answers;
  std::vector<MenuRequest> menus;
  std::deque<std::string> menu_choices;
  std::vector<platform::SaveDialogRequest> saves;
  std::deque<std::optional<std::string>> save_answers;
  // Runs while an input box is open (a test looks at the state then).
  std::function<void()> while_input_open;
  // Runs while a save dialog is open: a test moves time on, prints jobs,
  // clicks menu items there.
  std::function<void()> while_save_open;

  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override {
    inputs.push_back({caption, prompt, initial});
    if (while_input_open) while_input_open();
    std::optional<std::string> answer;
    if (!input_answers.empty()) {
      answer = input_answers.front();
      input_answers.pop_front();
    }
    return answer.value_or(initial);
  }
  std::optional<std::string> SaveDialog(
      const platform::SaveDialogRequest& request) override {
    saves.push_back(request);
    if (while_save_open) while_save_open();
    if (save_answers.empty()) return std::nullopt;
    auto answer = save_answers.front();
    save_answers.pop_front();
    return answer;
  }
  std::string TrackPopupMenu(const std::vector<platform::MenuItemView>& items,
                             platform::Point at) override {
    menus.push_back({items, at});
    Record(log, "dialogs popup-menu " + std::to_string(at.x) + "," +
                    std::to_string(at.y));
    if (menu_choices.empty()) return "";
    std::string choice = menu_choices.front();
    menu_choices.pop_front();
    return choice;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_DIALOGS_H_
