#include "platform/host/box/box_provisioning.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/registry/file_hive_store.h"
#include "platform/registry.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;
using platform::RegistryValue;
using platform::RootKey;

constexpr char kPrint[] = "SYSTEM\\CurrentControlSet\\Control\\Print";

HiveKey& Key(Hive* hive, const std::string& path) {
  return hive->Create(*SplitKeyPath(path));
}

void SetString(HiveKey& key, const std::string& name, const std::string& text) {
  key.SetValue(name, RegistryValue::String(text));
}

std::string EnvironmentOr(const WindowsEdition& edition, const char* name,
                          const std::string& fallback) {
  return edition.facts.Environment(name).value_or(fallback);
}

// The Windows folders a fresh box has, parents before children.
std::vector<std::string> WindowsFolders(const WindowsEdition& edition) {
  const std::string windows = edition.facts.windows_folder;
  const std::string system32 = windows + "\\system32";
  std::vector<std::string> folders = {
      windows,
      system32,
      system32 + "\\drivers",
      system32 + "\\drivers\\etc",
      system32 + "\\spool",
      system32 + "\\spool\\PRINTERS",
      system32 + "\\spool\\drivers",
      windows + "\\Fonts",
  };
  if (!edition.is_nt() || edition.facts.version.major == 4) {
    folders.push_back(windows + "\\SYSTEM");
  }
  if (edition.is_nt()) {
    folders.push_back(windows + "\\Temp");
    folders.push_back(system32 + "\\spool\\drivers\\w32x86");
    folders.push_back(system32 + "\\spool\\drivers\\w32x86\\" +
                      (edition.facts.version.major == 4 ? "2" : "3"));
    folders.push_back("C:\\Program Files");
  }
  if (edition.is_64_bit()) {
    folders.push_back(windows + "\\SysWOW64");
    folders.push_back(system32 + "\\spool\\drivers\\x64");
    folders.push_back(system32 + "\\spool\\drivers\\x64\\3");
    folders.push_back("C:\\Program Files (x86)");
  }
  for (const char* name : {"USERPROFILE", "APPDATA", "LOCALAPPDATA",
                           "ALLUSERSPROFILE", "PUBLIC", "TEMP", "TMP"}) {
    if (std::optional<std::string> folder = edition.facts.Environment(name)) {
      folders.push_back(*folder);
    }
  }
  return folders;
}

bool IsEmptyOrBox(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) return true;
  if (fs::exists(folder / "system.ini", error)) return true;
  return fs::is_directory(folder, error) && fs::is_empty(folder, error);
}

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return static_cast<bool>(file);
}

}  // namespace

void AddWindowsKeys(const WindowsEdition& edition, Hive* machine, Hive* user) {
  const SystemFacts& facts = edition.facts;
  const std::string windows = facts.windows_folder;
  const std::string print = kPrint;

  HiveKey& current_version =
      Key(machine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  SetString(current_version, "ProgramFilesDir", "C:\\Program Files");
  SetString(current_version, "CommonFilesDir",
            "C:\\Program Files\\Common Files");
  if (edition.is_64_bit()) {
    SetString(current_version, "ProgramFilesDir (x86)",
              "C:\\Program Files (x86)");
    SetString(current_version, "CommonFilesDir (x86)",
              "C:\\Program Files (x86)\\Common Files");
  }
  Key(machine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  Key(machine, print + "\\Printers");
  Key(machine, print + "\\Monitors\\Redirected Port\\Ports");

  if (!edition.is_nt()) {
    SetString(current_version, "ProductName", edition.product_name);
    SetString(current_version, "VersionNumber", edition.registry_version);
    SetString(current_version, "SystemRoot", windows);
    Key(machine, print + "\\Environments\\Windows 4.0\\Drivers");
    Key(machine, print + "\\Monitors\\Local Port");
    Key(machine, print + "\\Ports");
  } else {
    HiveKey& nt =
        Key(machine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    SetString(nt, "CurrentVersion", edition.registry_version);
    SetString(nt, "CurrentBuildNumber", edition.registry_build);
    SetString(nt, "CurrentBuild", edition.registry_build);
    SetString(nt, "ProductName", edition.product_name);
    if (!facts.version.service_pack.empty()) {
      SetString(nt, "CSDVersion", facts.version.service_pack);
    }
    SetString(nt, "SystemRoot", windows);
    SetString(nt, "RegisteredOwner", facts.user_name);
    if (edition.registry_build == "19045") {
      nt.SetValue("CurrentMajorVersionNumber", RegistryValue::FromDword(10));
      nt.SetValue("CurrentMinorVersionNumber", RegistryValue::FromDword(0));
    }

    bool server =
        facts.version.product_type == platform::ProductType::kServer ||
        edition.name == "nt4server";
    SetString(
        Key(machine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions"),
        "ProductType", server ? "ServerNT" : "WinNT");

    HiveKey& environment =
        Key(machine,
            "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
    SetString(environment, "ComSpec", "%SystemRoot%\\system32\\cmd.exe");
    SetString(environment, "OS", "Windows_NT");
    environment.SetValue("Path", RegistryValue::ExpandString(
                                     "%SystemRoot%\\system32;%SystemRoot%"));
    environment.SetValue("TEMP",
                         RegistryValue::ExpandString("%SystemRoot%\\TEMP"));
    environment.SetValue("TMP",
                         RegistryValue::ExpandString("%SystemRoot%\\TEMP"));
    SetString(environment, "windir", "%SystemRoot%");

    SetString(Key(machine, print + "\\Printers"), "DefaultSpoolDirectory",
              windows + "\\system32\\spool\\PRINTERS");
    SetString(Key(machine, print + "\\Monitors\\Local Port"), "Driver",
              "localspl.dll");
    std::string version = facts.version.major == 4 ? "2" : "3";
    Key(machine,
        print + "\\Environments\\Windows NT x86\\Drivers\\Version-" + version);
    if (edition.is_64_bit()) {
      Key(machine, print + "\\Environments\\Windows x64\\Drivers\\Version-3");
    }

    HiveKey& user_environment = Key(user, "Environment");
    std::string temp = EnvironmentOr(edition, "TEMP", "");
    std::string profile = EnvironmentOr(edition, "USERPROFILE", "");
    if (!profile.empty() && temp.rfind(profile, 0) == 0) {
      temp = "%USERPROFILE%" + temp.substr(profile.size());
    }
    user_environment.SetValue("TEMP", RegistryValue::ExpandString(temp));
    user_environment.SetValue("TMP", RegistryValue::ExpandString(temp));
  }

  Key(user, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  Key(user, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows");
  Key(user, "Control Panel\\Desktop");
}

bool CreateBox(const std::string& folder, const WindowsEdition& edition,
               std::string* error) {
  fs::path box(folder);
  if (!IsEmptyOrBox(box)) {
    *error = folder +
             " is not a box (it holds other things but no system.ini); "
             "not replacing it";
    return false;
  }
  std::error_code fault;
  if (fs::exists(box, fault)) {
    for (const fs::directory_entry& entry :
         fs::directory_iterator(box, fault)) {
      fs::remove_all(entry.path(), fault);
      if (fault) break;
    }
  } else {
    fs::create_directories(box, fault);
  }
  if (fault) {
    *error = "cannot prepare " + folder + ": " + fault.message();
    return false;
  }

  if (!WriteFile(SystemIniPath(folder), WriteSystemIni(edition.facts))) {
    *error = "cannot write " + SystemIniPath(folder);
    return false;
  }

  BoxPaths paths(folder);
  fs::create_directories(DriveFolder(folder, 'C'), fault);
  for (const std::string& windows_folder : WindowsFolders(edition)) {
    if (fault) break;
    fs::create_directories(*paths.ToLinux(windows_folder), fault);
  }
  fs::create_directories(RegistryFolder(folder), fault);
  if (fault) {
    *error =
        "cannot make the box's folders in " + folder + ": " + fault.message();
    return false;
  }

  Hive machine;
  Hive user;
  AddWindowsKeys(edition, &machine, &user);
  FileHiveStore store(RegistryFolder(folder));
  if (store.Save(RootKey::kLocalMachine, machine) != platform::kSuccess ||
      store.Save(RootKey::kCurrentUser, user) != platform::kSuccess) {
    *error = "cannot write the registry in " + RegistryFolder(folder);
    return false;
  }
  return true;
}

}  // namespace plumeta::host
