// The names both programs put on the system or look for there: the setup
// program writes them, the tray monitor reads and keeps them.
#ifndef COMMON_SYSTEM_NAMES_H_
#define COMMON_SYSTEM_NAMES_H_

#include <array>

namespace plumeta {

// The printer, and the tray monitor's window title and application window.
inline constexpr char kPrinterName[] = "Plumeta";
inline constexpr char kMonitorTitle[] = "Plumeta";

// The printer's port. Under HKEY_LOCAL_MACHINE, the Redirected Port
// monitor's ports, each a subkey named for its port: the port's
// configuration, which setup writes and whose command the tray monitor reads
// to find Ghostscript.
inline constexpr char kPortName[] = "PLUM:";
inline constexpr char kMonitorPortsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports";

// Under HKEY_LOCAL_MACHINE: the start-up entry that runs the tray monitor at
// each log-on.
inline constexpr char kRunKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValueName[] = "Plumeta";

// Under HKEY_CURRENT_USER: the tray monitor's conversion settings, each value
// by name, and all of them in the order removal deletes them.
inline constexpr char kSettingsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
inline constexpr char kVersionValue[] = "Version";
inline constexpr char kQualityValue[] = "Quality";
inline constexpr char kUserPasswordValue[] = "UPwd";
inline constexpr char kOwnerPasswordValue[] = "OPwd";
inline constexpr char kResolutionValue[] = "Resolution";
inline constexpr char kPermissionValue[] = "Permission";
inline constexpr std::array<const char*, 6> kSettingsValueNames = {
    kPermissionValue, kResolutionValue,    kQualityValue,
    kVersionValue,    kOwnerPasswordValue, kUserPasswordValue};

// Beside the six, under the same key: where each PDF is saved without asking
// (empty: the save dialog asks) and how its name is made. The same values
// under HKEY_LOCAL_MACHINE's copy of the key are the administrator's, and
// win over the user's.
inline constexpr char kAutoSaveFolderValue[] = "AutoSaveFolder";
inline constexpr char kFileNameTemplateValue[] = "FileNameTemplate";
inline constexpr char kDefaultFileNameTemplate[] = "<Title>";
inline constexpr std::array<const char*, 2> kAutoSaveValueNames = {
    kAutoSaveFolderValue, kFileNameTemplateValue};

// The file Ghostscript writes each job's PDF to, in the user's temporary
// folder: the last result.
inline constexpr char kLastResultFileName[] = "1024.pdf";

}  // namespace plumeta

#endif  // COMMON_SYSTEM_NAMES_H_
