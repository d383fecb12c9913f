// What the setup program does to the tray monitor's world: the first
// Ghostscript argument file, the start at log-on (the Run value, or the
// scheduled task from Vista on), stopping a running monitor and removing its
// settings.
#ifndef SETUP_HAND_OVER_H_
#define SETUP_HAND_OVER_H_

#include <optional>
#include <string>

#include "platform/application.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/task_scheduler.h"
#include "setup/run_mode.h"

namespace plumeta::setup {

inline constexpr std::uint32_t kStopWaitMs = 5000;

std::string FirstResponseFilePath(const std::string& windows_prefix);
// The twelve lines, each ended by CR LF.
std::string FirstResponseFileContent(const std::string& windows_prefix);

// Deletes an existing file, then writes the twelve lines, readable only by
// administrators and the system (as the tray monitor writes the file).
// kSuccess or the failure's code.
platform::ErrorCode WriteFirstResponseFile(platform::Files& files,
                                           const std::string& windows_prefix);
// Deletes the argument file where it exists (it may hold passwords).
// kSuccess or the failure's code.
platform::ErrorCode DeleteResponseFile(platform::Files& files,
                                       const std::string& windows_prefix);

// The tray monitor beside the setup program: the folder of `program_path` +
// "\Plumeta.exe".
std::string TrayMonitorPath(const std::string& program_path);

// The Run value "Plumeta": the tray monitor's path. Raises RegistryError
// "Failed to set data for 'Plumeta'".
void WriteStartupEntry(platform::Registry& registry,
                       const std::string& program_path);
void RemoveStartupEntry(platform::Registry& registry);

// The scheduled task "Plumeta" that starts the tray monitor at log-on
// (setup/logon_task.h), registered anew or deleted where it exists. A
// failure raises OsError with the system's text.
void RegisterLogonTask(platform::TaskScheduler& scheduler,
                       platform::System& system,
                       const std::string& program_path);
void RemoveLogonTask(platform::TaskScheduler& scheduler,
                     platform::System& system);

// Deletes the current user's six conversion settings values that exist, and
// the user's auto-save values.
void RemoveConversionSettings(platform::Registry& registry);

// The administrator's auto-save values, under HKEY_LOCAL_MACHINE's copy of
// the settings key: each given one is written. Raises RegistryError "Failed to
// set data for '<name>'".
void WriteAdministratorAutoSave(platform::Registry& registry,
                                const AdministratorAutoSave& values);
// Deletes them where they exist.
void RemoveAdministratorAutoSave(platform::Registry& registry);

// The id of the last process in a snapshot whose executable name contains
// `name` (case-sensitive); nullopt when none does or no snapshot was taken.
std::optional<platform::ProcessId> FindProcessByExeName(
    platform::Processes& processes, const std::string& name);

// Terminates the process and waits up to 5000 ms for it to end; when it has,
// the messages already waiting are handled once. A process that no longer
// exists counts as stopped, one that outlives the wait is left behind. A
// failed open of a process still there, or a failed wait, raises OsError.
void StopProcess(platform::Processes& processes,
                 platform::Application& application, platform::System& system,
                 platform::ProcessId id);

// One attempt to stop the tray monitor: look it up, and when it runs, stop
// the process a fresh look-up finds.
void StopTrayMonitor(platform::Processes& processes,
                     platform::Application& application,
                     platform::System& system);

}  // namespace plumeta::setup

#endif  // SETUP_HAND_OVER_H_
