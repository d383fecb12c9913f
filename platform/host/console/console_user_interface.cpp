// Host stand-in (Linux only).
#include "platform/host/console/console_user_interface.h"

#include <map>
#include <string_view>

namespace plumeta::host {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

struct ButtonSet {
  std::string_view name;
  std::map<std::string_view, MessageResult> answers;
  MessageResult when_closed;
};

const ButtonSet& Buttons(MessageButtons buttons) {
  static const ButtonSet kOk{
      "ok", {{"ok", MessageResult::kOk}}, MessageResult::kOk};
  static const ButtonSet kOkCancel{
      "okcancel",
      {{"ok", MessageResult::kOk}, {"cancel", MessageResult::kCancel}},
      MessageResult::kCancel};
  static const ButtonSet kYesNo{
      "yesno",
      {{"yes", MessageResult::kYes}, {"no", MessageResult::kNo}},
      MessageResult::kNo};
  static const ButtonSet kYesNoCancel{"yesnocancel",
                                      {{"yes", MessageResult::kYes},
                                       {"no", MessageResult::kNo},
                                       {"cancel", MessageResult::kCancel}},
                                      MessageResult::kCancel};
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return kOkCancel;
    case MessageButtons::kYesNo:
      return kYesNo;
    case MessageButtons::kYesNoCancel:
      return kYesNoCancel;
    case MessageButtons::kOk:
      break;
  }
  return kOk;
}

std::string_view IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return "error";
    case MessageIcon::kWarning:
      return "warning";
    case MessageIcon::kInformation:
      return "information";
    case MessageIcon::kQuestion:
      return "question";
    case MessageIcon::kNone:
      break;
  }
  return "none";
}

}  // namespace

MessageResult ConsoleUserInterface::MessageBox(const std::string& text,
                                               const std::string& caption,
                                               MessageButtons buttons,
                                               MessageIcon icon, bool) {
  const ButtonSet& set = Buttons(buttons);
  application_.console().Event("message",
                               {caption, text, set.name, IconName(icon)});
  const auto answer =
      application_.WaitForAnswer([&](const ConsoleCommand& command) {
        return command.argument.empty() && set.answers.count(command.keyword);
      });
  if (!answer) return set.when_closed;
  return set.answers.at(answer->keyword);
}

}  // namespace plumeta::host
