// The names only the setup program puts on the system or looks for there;
// those the tray monitor shares are in common/system_names.h.
#ifndef SETUP_SETUP_NAMES_H_
#define SETUP_SETUP_NAMES_H_

#include "common/system_names.h"

namespace plumeta::setup {

inline constexpr char kApplicationTitle[] = "Printer Setup";

inline constexpr char kDriverName[] = "Plumeta";
inline constexpr char kPrintProcessor[] = "WinPrint";

inline constexpr char kEnvironmentNtX86[] = "Windows NT x86";
inline constexpr char kEnvironmentX64[] = "Windows x64";
inline constexpr char kEnvironment9x[] = "Windows 4.0";

// Under HKEY_LOCAL_MACHINE, holding the port as a subkey named kPortName:
// the spooler's ports (the Redirected Port monitor's are kMonitorPortsKey).
inline constexpr char kSpoolerPortsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Ports";

// The tray monitor's executable as a process snapshot names it.
inline constexpr char kTrayMonitorExe[] = "plumeta.exe";
// The tray monitor beside the setup program, as the start-up entry names it.
inline constexpr char kTrayMonitorFileName[] = "Plumeta.exe";
// The scheduled task that starts it at log-on from Vista on, in the Task
// Scheduler's root folder.
inline constexpr char kLogonTaskName[] = "Plumeta";

}  // namespace plumeta::setup

#endif  // SETUP_SETUP_NAMES_H_
