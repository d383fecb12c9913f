// The modal message box (MessageBoxA), with its button sets, icons and
// answers. The rest of the user interface has headers of its own: the message
// loop and timers (application.h), windows (form.h, window.h), dialogs and the
// popup menu (dialogs.h), the tray (notification_area.h) and balloons
// (balloon_windows.h).
#ifndef PLATFORM_USER_INTERFACE_H_
#define PLATFORM_USER_INTERFACE_H_

#include <string>

namespace plumeta::platform {

// MessageBoxA's MB_* button sets and icons.
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion };
// MessageBoxA's ID* answers.
enum class MessageResult { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // A modal message box; `owned_by_main_window` makes the program's main
  // window its owner, otherwise it has none.
  virtual MessageResult MessageBox(const std::string& text,
                                   const std::string& caption,
                                   MessageButtons buttons, MessageIcon icon,
                                   bool owned_by_main_window) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_USER_INTERFACE_H_
