#include "tests/wine/scenarios/installed_system.h"

#include <chrono>
#include <sstream>

#include "tests/support/wait_until.h"
#include "tests/wine/support/plumeta_printer.h"
#include "tests/wine/support/process_runner.h"
#include "tests/wine/support/wine_test_support.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta::scenario {

using wine_test::DeleteValue;
using wine_test::Quoted;
using wine_test::SystemFolder;
namespace {

constexpr char kPortSubkey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
constexpr char kSpoolerPortSubkey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Ports\\PLUM:";
constexpr char kRunSubkey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSettingsSubkey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
constexpr const char* kSettingNames[] = {
    "Version",    "Quality",    "UPwd",           "OPwd",
    "Resolution", "Permission", "AutoSaveFolder", "FileNameTemplate"};

}  // namespace

std::string SetupExe() {
  return std::string(kInstallFolder) + "\\plumsetup.exe";
}
std::string MonitorExe() {
  return std::string(kInstallFolder) + "\\plumeta.exe";
}

bool PlaceProgramCopies() {
  ::CreateDirectoryA(kInstallFolder, nullptr);
  return ::CopyFileA(wine_test::ThroughDriveZ(PLUMSETUP_EXE).c_str(),
                     SetupExe().c_str(), FALSE) &&
         ::CopyFileA(wine_test::ThroughDriveZ(PLUMETA_EXE).c_str(),
                     MonitorExe().c_str(), FALSE);
}

void CleanSystem() {
  wine_test::DeletePlumetaPrinters();
  for (const char* environment :
       {"Windows NT x86", "Windows x64", "Windows 4.0"}) {
    char name[] = "Plumeta";
    ::DeletePrinterDriverA(nullptr, const_cast<char*>(environment), name);
  }
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortSubkey);
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSpoolerPortSubkey);
  DeleteValue(HKEY_LOCAL_MACHINE, kRunSubkey, "Plumeta");
  for (const char* name : kSettingNames) {
    DeleteValue(HKEY_CURRENT_USER, kSettingsSubkey, name);
    DeleteValue(HKEY_LOCAL_MACHINE, kSettingsSubkey, name);
  }
  ::DeleteFileA(ResponseFilePath().c_str());
  PretendWindows("plumeta.exe", "");
  PretendWindows("plumsetup.exe", "");
  wine_test::AddX64PlumetaDriver();
}

void PretendWindows(const std::string& exe_name, const std::string& version) {
  const std::string path = "Software\\Wine\\AppDefaults\\" + exe_name;
  if (version.empty()) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    return;
  }
  win32::ScopedRegistryKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  ::RegSetValueExA(key.Get(), "Version", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
}

std::optional<std::vector<std::string>> RegQuery(const std::string& key) {
  auto finished = wine_test::RunToEnd(
      Quoted(SystemFolder() + "\\reg.exe") + " query " + Quoted(key), 20000);
  if (!finished || finished->exit_code != 0) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream output(finished->output);
  std::string line;
  while (std::getline(output, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;  // values are indented
    // Wine's reg.exe separates name, type and data by four spaces.
    const std::size_t type_at = line.find("    REG_", 4);
    if (type_at == std::string::npos) continue;
    const std::string name = line.substr(4, type_at - 4);
    std::string rest = line.substr(type_at + 4);
    const std::size_t data_at = rest.find("    ");
    const std::string type = rest.substr(0, data_at);
    const std::string data =
        data_at == std::string::npos ? "" : rest.substr(data_at + 4);
    lines.push_back(name + " " + type + " " + data);
  }
  return lines;
}

std::optional<std::string> RegValue(const std::string& key,
                                    const std::string& name) {
  auto lines = RegQuery(key);
  if (!lines) return std::nullopt;
  for (const std::string& line : *lines) {
    if (line.rfind(name + " REG_", 0) == 0) return line.substr(name.size() + 1);
  }
  return std::nullopt;
}

std::vector<PrinterSeen> Printers() {
  DWORD needed = 0, returned = 0;
  ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed,
                  &returned);
  std::vector<BYTE> buffer(needed + 1);
  std::vector<PrinterSeen> printers;
  if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed,
                       &needed, &returned)) {
    return printers;
  }
  const auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) {
    printers.push_back({info[i].pPrinterName ? info[i].pPrinterName : "",
                        info[i].pPortName ? info[i].pPortName : "",
                        info[i].pDriverName ? info[i].pDriverName : ""});
  }
  return printers;
}

int CountDriver(const char* environment) {
  DWORD needed = 0, returned = 0;
  ::EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 1, nullptr, 0,
                        &needed, &returned);
  std::vector<BYTE> buffer(needed + 1);
  if (!::EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 1,
                             buffer.data(), needed, &needed, &returned)) {
    return 0;
  }
  const auto* drivers = reinterpret_cast<DRIVER_INFO_1A*>(buffer.data());
  int count = 0;
  for (DWORD i = 0; i < returned; ++i) {
    count += std::string(drivers[i].pName) == "Plumeta";
  }
  return count;
}

std::string ResponseFilePath() {
  return wine_test::NativeSystemFolder() + "\\plum.rsp";
}

std::optional<std::string> ResponseFile() {
  return wine_test::ReadWholeFile(ResponseFilePath());
}

bool WaitResponseFileHas(const std::string& text, DWORD timeout_ms) {
  return testing::WaitUntil(
      [&] {
        const auto content = ResponseFile();
        return content && content->find(text) != std::string::npos;
      },
      std::chrono::milliseconds(timeout_ms), std::chrono::milliseconds(50));
}

Program::Program(const std::string& command_line)
    : process_(wine_test::StartProcess(command_line, &id_)) {}

Program::~Program() {
  if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

std::optional<DWORD> Program::WaitEnd(DWORD timeout_ms) {
  if (!process_ ||
      ::WaitForSingleObject(process_.Get(), timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process_.Get(), &code);
  return code;
}

}  // namespace plumeta::scenario
