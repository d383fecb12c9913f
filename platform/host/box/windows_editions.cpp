#include "platform/host/box/windows_editions.h"

#include "common/text.h"

namespace plumeta::host {
namespace {

using platform::PlatformId;
using platform::ProductType;

// Where a version keeps the user's profile and temporary folder.
enum class Profiles {
  kWindows9x,             // no profiles; C:\WINDOWS\TEMP
  kNt4,                   // %windir%\Profiles\<user>; C:\TEMP
  kDocumentsAndSettings,  // C:\Documents and Settings\<user>
  kUsers                  // C:\Users\<user>
};

struct Row {
  const char* name;
  const char* product_name;
  PlatformId platform;
  std::uint32_t major;
  std::uint32_t minor;
  std::uint32_t build;
  const char* service_pack;
  ProductType product_type;
  const char* windows_folder;
  Profiles profiles;
  bool has_is_wow64_process;
  bool has_redirection_switch;
  bool is_wow64;
  const char* registry_version;
  const char* registry_build;
};

constexpr ProductType kWorkstation = ProductType::kWorkstation;
constexpr ProductType kServer = ProductType::kServer;
constexpr ProductType kUnavailable = ProductType::kNotAvailable;
constexpr PlatformId k9x = PlatformId::kWindows9x;
constexpr PlatformId kNt = PlatformId::kNt;

// GetVersionExA's answers as Windows gives them. On 9x the registry_version
// is the VersionNumber text of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion.
constexpr Row kRows[] = {
    {"95", "Microsoft Windows 95", k9x, 4, 0, 0x040003B6, "", kUnavailable,
     "C:\\WINDOWS", Profiles::kWindows9x, false, false, false, "4.00.950",
     "950"},
    {"98", "Microsoft Windows 98", k9x, 4, 10, 0x040A07CE, " ", kUnavailable,
     "C:\\WINDOWS", Profiles::kWindows9x, false, false, false, "4.10.1998",
     "1998"},
    {"98se", "Microsoft Windows 98", k9x, 4, 10, 0x040A08AE, " A ",
     kUnavailable, "C:\\WINDOWS", Profiles::kWindows9x, false, false, false,
     "4.10.2222", "2222"},
    {"me", "Microsoft Windows ME", k9x, 4, 90, 0x045A0BB8, " ", kUnavailable,
     "C:\\WINDOWS", Profiles::kWindows9x, false, false, false, "4.90.3000",
     "3000"},
    {"nt4", "Microsoft Windows NT Workstation", kNt, 4, 0, 1381,
     "Service Pack 6a", kUnavailable, "C:\\WINNT", Profiles::kNt4, false, false,
     false, "4.0", "1381"},
    {"nt4server", "Microsoft Windows NT Server", kNt, 4, 0, 1381,
     "Service Pack 6a", kUnavailable, "C:\\WINNT", Profiles::kNt4, false, false,
     false, "4.0", "1381"},
    {"2000", "Microsoft Windows 2000", kNt, 5, 0, 2195, "Service Pack 4",
     kWorkstation, "C:\\WINNT", Profiles::kDocumentsAndSettings, false, false,
     false, "5.0", "2195"},
    {"xp", "Microsoft Windows XP", kNt, 5, 1, 2600, "Service Pack 3",
     kWorkstation, "C:\\WINDOWS", Profiles::kDocumentsAndSettings, true, false,
     false, "5.1", "2600"},
    {"2003", "Microsoft Windows Server 2003", kNt, 5, 2, 3790, "Service Pack 2",
     kServer, "C:\\WINDOWS", Profiles::kDocumentsAndSettings, true, true, false,
     "5.2", "3790"},
    {"vista", "Windows Vista (TM) Business", kNt, 6, 0, 6002, "Service Pack 2",
     kWorkstation, "C:\\WINDOWS", Profiles::kUsers, true, true, false, "6.0",
     "6002"},
    {"7", "Windows 7 Professional", kNt, 6, 1, 7601, "Service Pack 1",
     kWorkstation, "C:\\WINDOWS", Profiles::kUsers, true, true, false, "6.1",
     "7601"},
    {"7x64", "Windows 7 Professional", kNt, 6, 1, 7601, "Service Pack 1",
     kWorkstation, "C:\\WINDOWS", Profiles::kUsers, true, true, true, "6.1",
     "7601"},
    {"8", "Windows 8 Pro", kNt, 6, 2, 9200, "", kWorkstation, "C:\\WINDOWS",
     Profiles::kUsers, true, true, false, "6.2", "9200"},
    {"10", "Windows 10 Pro", kNt, 6, 2, 9200, "", kWorkstation, "C:\\WINDOWS",
     Profiles::kUsers, true, true, false, "6.3", "19045"},
};

void AddEnvironment(const Row& row, SystemFacts* facts) {
  const std::string windows = row.windows_folder;
  const std::string& user = facts->user_name;
  auto set = [facts](const char* name, std::string value) {
    facts->SetEnvironment(name, std::move(value));
  };
  if (row.profiles == Profiles::kWindows9x) {
    set("windir", windows);
    set("winbootdir", windows);
    set("COMSPEC", windows + "\\COMMAND.COM");
    set("PATH", windows + ";" + windows + "\\COMMAND");
    set("PROMPT", "$p$g");
    set("TEMP", windows + "\\TEMP");
    set("TMP", windows + "\\TEMP");
    return;
  }

  std::string profile;
  std::string temp;
  switch (row.profiles) {
    case Profiles::kNt4:
      profile = windows + "\\Profiles\\" + user;
      temp = "C:\\TEMP";
      break;
    case Profiles::kDocumentsAndSettings:
      profile = "C:\\Documents and Settings\\" + user;
      temp = profile + "\\Local Settings\\Temp";
      break;
    default:
      profile = "C:\\Users\\" + user;
      temp = profile + "\\AppData\\Local\\Temp";
      break;
  }
  const bool nt4 = row.profiles == Profiles::kNt4;
  const bool users = row.profiles == Profiles::kUsers;
  if (!nt4) {
    set("ALLUSERSPROFILE",
        users ? "C:\\ProgramData" : "C:\\Documents and Settings\\All Users");
    set("APPDATA",
        profile + (users ? "\\AppData\\Roaming" : "\\Application Data"));
  }
  // A 32-bit program on 64-bit Windows sees the 32-bit Program Files.
  const std::string program_files =
      row.is_wow64 ? "C:\\Program Files (x86)" : "C:\\Program Files";
  if (!nt4) set("CommonProgramFiles", program_files + "\\Common Files");
  if (row.is_wow64) {
    set("CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files");
    set("CommonProgramW6432", "C:\\Program Files\\Common Files");
  }
  set("COMPUTERNAME", facts->computer_name);
  set("ComSpec", windows + "\\system32\\cmd.exe");
  set("HOMEDRIVE", "C:");
  set("HOMEPATH", nt4 ? "\\" : profile.substr(2));
  if (users) set("LOCALAPPDATA", profile + "\\AppData\\Local");
  set("NUMBER_OF_PROCESSORS", "1");
  set("OS", "Windows_NT");
  set("Path", windows + "\\system32;" + windows);
  set("PATHEXT", ".COM;.EXE;.BAT;.CMD");
  set("PROCESSOR_ARCHITECTURE", "x86");
  if (row.is_wow64) set("PROCESSOR_ARCHITEW6432", "AMD64");
  if (users) set("ProgramData", "C:\\ProgramData");
  if (!nt4) set("ProgramFiles", program_files);
  if (row.is_wow64) {
    set("ProgramFiles(x86)", "C:\\Program Files (x86)");
    set("ProgramW6432", "C:\\Program Files");
  }
  if (users) set("PUBLIC", "C:\\Users\\Public");
  set("SystemDrive", "C:");
  set("SystemRoot", windows);
  set("TEMP", temp);
  set("TMP", temp);
  set("USERDOMAIN", facts->computer_name);
  set("USERNAME", user);
  set("USERPROFILE", profile);
  set("windir", windows);
}

WindowsEdition EditionFrom(const Row& row) {
  WindowsEdition edition;
  edition.name = row.name;
  edition.product_name = row.product_name;
  edition.registry_version = row.registry_version;
  edition.registry_build = row.registry_build;
  SystemFacts& facts = edition.facts;
  facts.version = {row.platform, row.major,        row.minor,
                   row.build,    row.service_pack, row.product_type};
  facts.has_is_wow64_process = row.has_is_wow64_process;
  facts.has_wow64_disable_fs_redirection = row.has_redirection_switch;
  facts.has_wow64_revert_fs_redirection = row.has_redirection_switch;
  facts.is_wow64 = row.is_wow64;
  facts.windows_folder = row.windows_folder;
  AddEnvironment(row, &facts);
  return edition;
}

}  // namespace

std::vector<std::string> WindowsNames() {
  std::vector<std::string> names;
  for (const Row& row : kRows) names.push_back(row.name);
  return names;
}

std::optional<WindowsEdition> FindWindowsEdition(std::string_view name) {
  for (const Row& row : kRows) {
    if (SameName(row.name, name)) return EditionFrom(row);
  }
  return std::nullopt;
}

}  // namespace plumeta::host
