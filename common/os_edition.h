// Which Windows this is: the edition table of the monitor, the platform
// family that selects setup's branches, and the Windows folder prefix.
#ifndef COMMON_OS_EDITION_H_
#define COMMON_OS_EDITION_H_

#include <string>

#include "platform/registry.h"
#include "platform/system.h"

namespace plumeta {

// 0 "Microsoft Windows 3.11" to 19 (Windows 8.1); see OsName.
int OsEdition(platform::System& system, platform::Registry& registry);

// The edition's name; empty for the editions after Windows Server 2008 R2.
std::string OsName(int edition);

// Whether an edition's name is one of Windows NT 4.0 and earlier, the NT
// systems without balloons or the printer dialog's /y switch.
inline bool IsOldNtName(const std::string& os_name) {
  return os_name.find("Windows NT") != std::string::npos;
}

// The platform family and version the way the system-details component
// reports them: "Windows NT" exactly on the NT platform ("Windows 95",
// "Windows 98" or "Windows 3.1" otherwise), and "major.minor".
struct SystemDetails {
  std::string operating_system;
  std::string version;
};
SystemDetails ReadSystemDetails(platform::System& system);

enum class OsFamily { kNtModern, kNt4, kWin9x };
OsFamily DecideOsFamily(platform::System& system);

// Whether the tray monitor starts at log-on through a scheduled task instead
// of the Run value: on NT 6.0 (Vista) and later, where User Account Control
// skips Run-value programs that ask for administrator rights.
bool StartsMonitorThroughLogOnTask(platform::System& system);

// The "windir" variable followed by a backslash ("\" alone when unset).
std::string WindowsPrefix(platform::System& system);

}  // namespace plumeta

#endif  // COMMON_OS_EDITION_H_
