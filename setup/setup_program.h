// The setup program from start to end, on whatever platform it is given.
#ifndef SETUP_SETUP_PROGRAM_H_
#define SETUP_SETUP_PROGRAM_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "setup/notice_balloon.h"
#include "setup/setup_form.h"

namespace plumeta::setup {

// Makes the components that need the form itself (its window and tray
// icon) once the form exists, before its creation handler runs; what it
// returns lives until the program ends.
using FormComponents = std::function<std::shared_ptr<void>(TForm1& form)>;

// Creates the form, which does the work, then runs the message loop until
// the exit timer or the removal's quit request ends it. An error that ended
// the work is shown in the error box, and the program ends once the user has
// dismissed it; with "/log FILE" it is appended to FILE as one line instead.
// Returns the process's exit code.
int RunSetupProgram(SetupServices services, platform::UserInterface& ui,
                    std::unique_ptr<NoticeBalloon> balloon,
                    std::vector<std::string> arguments,
                    const FormComponents& components = {});

}  // namespace plumeta::setup

#endif  // SETUP_SETUP_PROGRAM_H_
