#include "setup/hand_over.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/errors.h"
#include "common/windows_paths.h"
#include "setup/logon_task.h"
#include "setup/setup_names.h"

namespace plumeta::setup {
namespace {

using platform::RootKey;

// Deletes each named value that exists in the key, which is created when
// missing; a key that cannot be opened is left alone.
void DeleteExistingValues(platform::Registry& registry, RootKey root,
                          const std::string& path,
                          const std::vector<std::string>& names) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(root, path, /*create=*/true, &key) !=
      platform::kSuccess) {
    return;
  }
  for (const std::string& name : names) {
    platform::RegistryValue value;
    if (key->ReadValue(name, &value) == platform::kSuccess) {
      key->DeleteValue(name);
    }
  }
}

bool StillRunning(platform::Processes& processes, platform::ProcessId id) {
  std::vector<platform::ProcessEntry> entries;
  if (processes.Snapshot(&entries) != platform::kSuccess) return true;
  return std::any_of(entries.begin(), entries.end(),
                     [id](const auto& entry) { return entry.id == id; });
}

}  // namespace

std::string FirstResponseFilePath(const std::string& windows_prefix) {
  return windows_prefix + "system32\\plum.rsp";
}

std::string FirstResponseFileContent(const std::string& windows_prefix) {
  const std::string arguments[] = {
      "-I" + windows_prefix + "system32\\lib;" + windows_prefix +
          "system32\\fonts",
      "-sDEVICE=pdfwrite",
      "-sOutputFile=" + windows_prefix + "system32\\lib\\" + "1024" + ".pdf",
      "-dNOPAUSE",
      "-dSAFER",
      "-dBATCH",
  };
  std::string content;
  for (const std::string& argument : arguments) {
    content += argument + "\r\n" + "\r\n";
  }
  return content;
}

platform::ErrorCode WriteFirstResponseFile(platform::Files& files,
                                           const std::string& windows_prefix) {
  const std::string path = FirstResponseFilePath(windows_prefix);
  if (files.Exists(path)) files.Delete(path);
  return files.WriteTextFile(
      path, FirstResponseFileContent(windows_prefix),
      platform::FileProtection::kAdministratorsAndSystemOnly);
}

platform::ErrorCode DeleteResponseFile(platform::Files& files,
                                       const std::string& windows_prefix) {
  const std::string path = FirstResponseFilePath(windows_prefix);
  return files.Exists(path) ? files.Delete(path) : platform::kSuccess;
}

std::string TrayMonitorPath(const std::string& program_path) {
  return FolderOf(program_path) + kTrayMonitorFileName;
}

void WriteStartupEntry(platform::Registry& registry,
                       const std::string& program_path) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(RootKey::kLocalMachine, kRunKey, /*create=*/true,
                       &key) != platform::kSuccess ||
      key->WriteString(kRunValueName, TrayMonitorPath(program_path)) !=
          platform::kSuccess) {
    throw RegistryError::FailedToSetData(kRunValueName);
  }
}

void RemoveStartupEntry(platform::Registry& registry) {
  DeleteExistingValues(registry, RootKey::kLocalMachine, kRunKey,
                       {kRunValueName});
}

void RegisterLogonTask(platform::TaskScheduler& scheduler,
                       platform::System& system,
                       const std::string& program_path) {
  const platform::ErrorCode code = scheduler.RegisterTask(
      kLogonTaskName, LogonTaskDefinition(TrayMonitorPath(program_path)));
  if (code != platform::kSuccess) {
    throw OsError(code, system.ErrorMessage(code));
  }
}

void RemoveLogonTask(platform::TaskScheduler& scheduler,
                     platform::System& system) {
  const platform::ErrorCode code = scheduler.DeleteTask(kLogonTaskName);
  if (code != platform::kSuccess) {
    throw OsError(code, system.ErrorMessage(code));
  }
}

void RemoveConversionSettings(platform::Registry& registry) {
  std::vector<std::string> names(kSettingsValueNames.begin(),
                                 kSettingsValueNames.end());
  names.insert(names.end(), kAutoSaveValueNames.begin(),
               kAutoSaveValueNames.end());
  DeleteExistingValues(registry, RootKey::kCurrentUser, kSettingsKey, names);
}

void WriteAdministratorAutoSave(platform::Registry& registry,
                                const AdministratorAutoSave& values) {
  const std::pair<const char*, const std::optional<std::string>*> given[] = {
      {kAutoSaveFolderValue, &values.folder},
      {kFileNameTemplateValue, &values.file_name_template}};
  for (const auto& [name, value] : given) {
    if (!*value) continue;
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.OpenKey(RootKey::kLocalMachine, kSettingsKey, /*create=*/true,
                         &key) != platform::kSuccess ||
        key->WriteString(name, **value) != platform::kSuccess) {
      throw RegistryError::FailedToSetData(name);
    }
  }
}

void RemoveAdministratorAutoSave(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(RootKey::kLocalMachine, kSettingsKey, /*create=*/false,
                       &key) != platform::kSuccess) {
    return;
  }
  for (const char* name : kAutoSaveValueNames) {
    platform::RegistryValue value;
    if (key->ReadValue(name, &value) == platform::kSuccess) {
      key->DeleteValue(name);
    }
  }
}

std::optional<platform::ProcessId> FindProcessByExeName(
    platform::Processes& processes, const std::string& name) {
  std::vector<platform::ProcessEntry> entries;
  if (processes.Snapshot(&entries) != platform::kSuccess) return std::nullopt;
  std::optional<platform::ProcessId> found;
  for (const platform::ProcessEntry& entry : entries) {
    if (entry.exe_name.find(name) != std::string::npos) found = entry.id;
  }
  return found;
}

void StopProcess(platform::Processes& processes,
                 platform::Application& application, platform::System& system,
                 platform::ProcessId id) {
  std::unique_ptr<platform::Process> process;
  const platform::ErrorCode opened = processes.Open(id, &process);
  if (opened != platform::kSuccess) {
    // The monitor may end by itself between the look-up and the open: then
    // there is nothing left to stop.
    if (opened == platform::kErrorInvalidParameter ||
        !StillRunning(processes, id)) {
      return;
    }
    throw OsError(opened, system.ErrorMessage(opened));
  }
  process->Terminate(0);
  platform::ErrorCode error = platform::kSuccess;
  switch (process->Wait(kStopWaitMs, &error)) {
    case platform::WaitResult::kSignalled:
      application.ProcessMessages();
      break;
    case platform::WaitResult::kTimedOut:
      break;
    case platform::WaitResult::kFailed:
      throw OsError(error, system.ErrorMessage(error));
  }
}

void StopTrayMonitor(platform::Processes& processes,
                     platform::Application& application,
                     platform::System& system) {
  if (!FindProcessByExeName(processes, kTrayMonitorExe)) return;
  if (auto id = FindProcessByExeName(processes, kTrayMonitorExe)) {
    StopProcess(processes, application, system, *id);
  }
}

}  // namespace plumeta::setup
