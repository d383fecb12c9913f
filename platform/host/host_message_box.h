// Host stand-in (Linux only). Message boxes on the console, answered through
// the console's one reader while the message loop keeps running:
//
//   message<TAB>caption<TAB>text<TAB>buttons<TAB>icon
//
// with buttons ok, okcancel, yesno or yesnocancel and icon none, error,
// warning, information or question; the answer is ok, yes, no or cancel, one
// the box has a button for. At the end of input the box closes as Windows
// closes it: Cancel where it has a Cancel button, No for yes/no, else OK.
#ifndef PLATFORM_HOST_HOST_MESSAGE_BOX_H_
#define PLATFORM_HOST_HOST_MESSAGE_BOX_H_

#include "platform/host/host_application.h"
#include "platform/user_interface.h"

namespace plumeta::host {

class HostMessageBoxes : public platform::UserInterface {
 public:
  explicit HostMessageBoxes(HostApplication& application)
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

#endif  // PLATFORM_HOST_HOST_MESSAGE_BOX_H_
