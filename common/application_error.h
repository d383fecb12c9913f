// The application error box: how an error that ended a handler reaches the
// user, with the program's title as caption.
#ifndef COMMON_APPLICATION_ERROR_H_
#define COMMON_APPLICATION_ERROR_H_

#include <exception>
#include <functional>
#include <string>

#include "platform/user_interface.h"

namespace plumeta {

// A message box with the text (full-stop rule applied), `title` as caption,
// the error icon and one OK button.
void ShowErrorBox(platform::UserInterface& ui, const std::string& title,
                  const std::string& text);

// Runs `handler`; an exception it raises ends it and is shown in the error
// box. Returns false when that happened.
bool RunReportingErrors(platform::UserInterface& ui, const std::string& title,
                        const std::function<void()>& handler);

}  // namespace plumeta

#endif  // COMMON_APPLICATION_ERROR_H_
