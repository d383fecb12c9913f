// What the scenarios set up and read back: the two programs copied into a
// folder of the prefix, a system without any trace of an installation,
// `reg query` as a person would type it, and the spooler's printers.
#ifndef TESTS_WINE_SCENARIOS_INSTALLED_SYSTEM_H_
#define TESTS_WINE_SCENARIOS_INSTALLED_SYSTEM_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

namespace plumeta::scenario {

inline constexpr char kInstallFolder[] = "C:\\Plumeta";
inline constexpr char kPortKey[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
inline constexpr char kRunKey[] =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kSettingsKey[] =
    "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
inline constexpr char kAdministratorSettingsKey[] =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";

// Copies plumsetup.exe and plumeta.exe into kInstallFolder (once).
bool PlaceProgramCopies();
std::string SetupExe();    // C:\Plumeta\plumsetup.exe
std::string MonitorExe();  // C:\Plumeta\plumeta.exe

// Takes away everything an installation and the monitor leave: printer,
// drivers, port key, Run value, settings, argument file, Wine's per-program
// Windows versions. Then registers the 64-bit driver, which a 32-bit setup
// on 64-bit Windows would register itself (this suite runs the 64-bit build).
void CleanSystem();

struct PrinterSeen {
  std::string name;
  std::string port;
  std::string driver;
};
std::vector<PrinterSeen> Printers();  // EnumPrinters, level 2, local

// The argument file in the system folder, or nullopt.
std::string ResponseFilePath();
std::optional<std::string> ResponseFile();
// Waits up to `timeout_ms` for the argument file to contain `text`.
bool WaitResponseFileHas(const std::string& text, DWORD timeout_ms);

// A program the scenario started, ended (if still running) when it goes.
class Program {
 public:
  Program() = default;
  explicit Program(const std::string& command_line);
  ~Program();
  Program(Program&&) = default;
  Program& operator=(Program&&) = default;

  bool started() const { return static_cast<bool>(process_); }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.Get(); }
  // Waits for the end; its exit code, or nullopt when still running.
  std::optional<DWORD> WaitEnd(DWORD timeout_ms);

 private:
  DWORD id_ = 0;  // before process_, which its constructor fills in
  win32::ScopedKernelHandle process_;
};

}  // namespace plumeta::scenario

#endif  // TESTS_WINE_SCENARIOS_INSTALLED_SYSTEM_H_
