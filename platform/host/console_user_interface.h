// Host stand-in (Linux only). The user interface as a console protocol:
// events go to standard output, one line each (console_events.h), and the
// user's answers come from standard input, one line each.
//
// A message box is the event
//   message<TAB>caption<TAB>text<TAB>buttons<TAB>icon
// with buttons ok, okcancel, yesno or yesnocancel and icon none, error,
// warning, information or question; the answer is one of ok, yes, no,
// cancel that the box has a button for (other lines are refused on the
// error stream and the next line is read). At the end of input the box is
// closed as Windows closes it: Cancel where it has a Cancel button, No for
// yes/no, else OK.
#ifndef PLATFORM_HOST_CONSOLE_USER_INTERFACE_H_
#define PLATFORM_HOST_CONSOLE_USER_INTERFACE_H_

#include <iostream>
#include <string>

#include "platform/user_interface.h"

namespace plumeta::host {

class ConsoleUserInterface : public platform::UserInterface {
 public:
  ConsoleUserInterface(std::istream& input = std::cin,
                       std::ostream& events = std::cout,
                       std::ostream& errors = std::cerr);

  platform::MessageResult MessageBox(const std::string& text,
                                     const std::string& caption,
                                     platform::MessageButtons buttons,
                                     platform::MessageIcon icon,
                                     bool owned_by_main_window) override;

 protected:
  // Writes one event line and flushes it, so a program reading the events
  // through a pipe sees it at once.
  void Emit(const std::string& line);
  // The next answer line without its line end; false at the end of input.
  bool ReadAnswer(std::string* answer);

 private:
  std::istream& input_;
  std::ostream& events_;
  std::ostream& errors_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_USER_INTERFACE_H_
