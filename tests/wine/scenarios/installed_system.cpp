#include "tests/wine/scenarios/installed_system.h"

#include <chrono>
#include <sstream>

#include "tests/support/wait_until.h"
#include "tests/wine/support/plumeta_printer.h"
#include "tests/wine/support/process_runner.h"
#include "tests/wine/support/system_queries.h"
#include "tests/wine/support/wine_test_support.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta::scenario {

using wine_test::DeleteValue;
using wine_test::PretendWindows;
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
  // The 32-bit copy under WOW64, and the log-on task Wine keeps as a file.
  ::DeleteFileA((wine_test::SystemFolder() + "\\plum.rsp").c_str());
  ::DeleteFileA((wine_test::NativeSystemFolder() + "\\tasks\\Plumeta").c_str());
  PretendWindows("plumeta.exe", "");
  PretendWindows("plumsetup.exe", "");
  wine_test::AddX64PlumetaDriver();
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
