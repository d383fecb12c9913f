#include "platform/host/console_user_interface.h"

#include <string_view>

#include "platform/host/console_events.h"

namespace plumeta::host {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

std::string_view ButtonsName(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return "okcancel";
    case MessageButtons::kYesNo:
      return "yesno";
    case MessageButtons::kYesNoCancel:
      return "yesnocancel";
    case MessageButtons::kOk:
      break;
  }
  return "ok";
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

bool HasCancel(MessageButtons buttons) {
  return buttons == MessageButtons::kOkCancel ||
         buttons == MessageButtons::kYesNoCancel;
}

bool HasYesNo(MessageButtons buttons) {
  return buttons == MessageButtons::kYesNo ||
         buttons == MessageButtons::kYesNoCancel;
}

std::string_view AnswersOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return "ok or cancel";
    case MessageButtons::kYesNo:
      return "yes or no";
    case MessageButtons::kYesNoCancel:
      return "yes, no or cancel";
    case MessageButtons::kOk:
      break;
  }
  return "ok";
}

std::string_view Trim(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t\r");
  return text.substr(start, end - start + 1);
}

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(std::istream& input,
                                           std::ostream& events,
                                           std::ostream& errors)
    : input_(input), events_(events), errors_(errors) {}

void ConsoleUserInterface::Emit(const std::string& line) {
  events_ << line << '\n' << std::flush;
}

bool ConsoleUserInterface::ReadAnswer(std::string* answer) {
  if (!std::getline(input_, *answer)) return false;
  *answer = std::string(Trim(*answer));
  return true;
}

MessageResult ConsoleUserInterface::MessageBox(const std::string& text,
                                               const std::string& caption,
                                               MessageButtons buttons,
                                               MessageIcon icon,
                                               bool /*owned_by_main_window*/) {
  Emit(EventLine("message",
                 {caption, text, ButtonsName(buttons), IconName(icon)}));
  std::string answer;
  while (ReadAnswer(&answer)) {
    if (answer == "ok" && !HasYesNo(buttons)) return MessageResult::kOk;
    if (answer == "yes" && HasYesNo(buttons)) return MessageResult::kYes;
    if (answer == "no" && HasYesNo(buttons)) return MessageResult::kNo;
    if (answer == "cancel" && HasCancel(buttons)) {
      return MessageResult::kCancel;
    }
    errors_ << "The message box takes " << AnswersOf(buttons) << ", not \""
            << answer << "\".\n"
            << std::flush;
  }
  if (HasCancel(buttons)) return MessageResult::kCancel;
  return HasYesNo(buttons) ? MessageResult::kNo : MessageResult::kOk;
}

}  // namespace plumeta::host
