// A user interface that records every message box and answers from a queue.
#ifndef TESTS_UNIT_SUPPORT_FAKE_USER_INTERFACE_H_
#define TESTS_UNIT_SUPPORT_FAKE_USER_INTERFACE_H_

#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace plumeta::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  platform::MessageButtons buttons;
  platform::MessageIcon icon;
  bool owned_by_main_window;
};

class FakeUserInterface : public platform::UserInterface {
 public:
  std::vector<ShownMessage> messages;
  std::deque<platform::MessageResult> answers;

  platform::MessageResult MessageBox(const std::string& text,
                                     const std::string& caption,
                                     platform::MessageButtons buttons,
                                     platform::MessageIcon icon,
                                     bool owned_by_main_window) override {
    messages.push_back({text, caption, buttons, icon, owned_by_main_window});
    if (answers.empty()) return platform::MessageResult::kOk;
    platform::MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_USER_INTERFACE_H_
