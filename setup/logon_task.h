// The scheduled task that starts the tray monitor when a user logs on, on
// Windows Vista and later: with User Account Control on, Windows skips the
// Run value's programs that ask for administrator rights, as the monitor
// does, while a task may start them with the user's highest rights.
#ifndef SETUP_LOGON_TASK_H_
#define SETUP_LOGON_TASK_H_

#include <string>

namespace plumeta::setup {

// The task's definition (Task Scheduler XML, schema 1.2, which Vista reads):
// started at every user's log-on, as that user (the Users group, by its SID,
// which every language names alike) with the highest rights the user has,
// one copy per user, on battery too and for as long as it runs; the command
// is `monitor_path`.
std::string LogonTaskDefinition(const std::string& monitor_path);

}  // namespace plumeta::setup

#endif  // SETUP_LOGON_TASK_H_
