// The tray monitor as a program: the application title, the main window, the
// message loop.
#ifndef MONITOR_MONITOR_PROGRAM_H_
#define MONITOR_MONITOR_PROGRAM_H_

#include <string>
#include <vector>

#include "monitor/main_form.h"
#include "platform/platform.h"

namespace plumeta {

// Runs the monitor until it ends itself; the program's exit code.
int RunMonitor(platform::Platform& platform, TrayPlatform tray,
               std::vector<std::string> arguments);

}  // namespace plumeta

#endif  // MONITOR_MONITOR_PROGRAM_H_
