// Host stand-in (Linux only). Message boxes on the console, answered through
// the console's one reader of standard input (console.h) while the message
// loop keeps running:
//
//   message<TAB>caption<TAB>text<TAB>buttons<TAB>icon
//
// with buttons ok, okcancel, yesno or yesnocancel and icon none, error,
// warning, information or question; the answer is one of ok, yes, no,
// cancel that the box has a button for (other lines are refused on the
// error stream and the next line is read). At the end of input the box is
// closed as Windows closes it: Cancel where it has a Cancel button, No for
// yes/no, else OK.
#ifndef PLATFORM_HOST_CONSOLE_CONSOLE_USER_INTERFACE_H_
#define PLATFORM_HOST_CONSOLE_CONSOLE_USER_INTERFACE_H_

#include <string>

#include "platform/host/console/application.h"
#include "platform/user_interface.h"

namespace plumeta::host {

class ConsoleUserInterface : public platform::UserInterface {
 public:
  explicit ConsoleUserInterface(HostApplication& application)
      : application_(application) {}

  platform::MessageResult MessageBox(const std::string& text,
                                     const std::string& caption,
                                     platform::MessageButtons buttons,
                                     platform::MessageIcon icon,
                                     bool owned_by_main_window) override;

 private:
  HostApplication& application_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_CONSOLE_USER_INTERFACE_H_
