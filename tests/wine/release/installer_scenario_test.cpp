// The release end to end in a fresh prefix of its own (32-bit Windows for the
// i686 build, 64-bit Windows for the x86_64 one): Plumeta-<version>-setup.exe
// /S with a Ghostscript stand-in registered as Ghostscript's own setup does,
// a job run through the installed printer's port, uninstall.exe /S; and the
// setup's refusals without Ghostscript or without the port monitor. The
// tests run in order and each leaves the prefix as it found it.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "tests/support/wait_until.h"
#include "tests/wine/scenarios/installed_system.h"
#include "tests/wine/support/system_queries.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::release_scenario {
namespace {

using wine_test::Quoted;

constexpr DWORD kWaitMs = 60000;
constexpr bool k64BitWindows = sizeof(void*) == 8;
// The setup is a 32-bit program: on 64-bit Windows its HKLM\SOFTWARE is
// the 32-bit view.
constexpr REGSAM kSetupView = k64BitWindows ? KEY_WOW64_32KEY : 0;
constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Plumeta";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSettingsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
constexpr char kPortMonitorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected Port";
constexpr char kPortKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
constexpr char kGhostscriptKey[] = "SOFTWARE\\GPL Ghostscript\\10.00.0";
constexpr char kJob[] =
    "%!PS-Adobe-3.0\n/Helvetica findfont 24 scalefont setfont\n"
    "72 700 moveto (Installed) show showpage\n";

std::string Environment(const char* name) {
  char value[MAX_PATH + 1] = {};
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? value : "";
}

// Where 32-bit programs go: "Program Files (x86)" on 64-bit Windows.
std::string InstallFolder() {
  const std::string x86 = Environment("ProgramFiles(x86)");
  return (x86.empty() ? Environment("ProgramFiles") : x86) + "\\Plumeta";
}

std::string System32() { return wine_test::NativeSystemFolder(); }

std::optional<std::string> ReadString(HKEY root, const std::string& path,
                                      const char* name, REGSAM view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  const LONG read = ::RegQueryValueExA(key, name, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS) return std::nullopt;
  return std::string(data);
}

void WriteString(const std::string& path, const char* name,
                 const std::string& value, REGSAM view) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                              KEY_WRITE | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, name, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Everything of ours an installation leaves on the system, by name; empty
// on a system without Plumeta.
std::vector<std::string> Traces() {
  std::vector<std::string> found;
  std::vector<std::string> files = {
      InstallFolder(),
      System32() + "\\gswin32c.exe",
      System32() + "\\gsdll32.dll",
      System32() + "\\gsdll64.dll",
      System32() + "\\plum.rsp",
      System32() + "\\tasks\\Plumeta",
      System32() + "\\spool\\drivers\\w32x86\\plumeta.ppd",
      System32() + "\\spool\\drivers\\w32x86\\3\\plumeta.ppd",
      System32() + "\\spool\\drivers\\x64\\plumeta.ppd",
      System32() + "\\spool\\drivers\\x64\\3\\plumeta.ppd"};
  if (k64BitWindows) {
    for (const char* name : {"plum.rsp", "gswin32c.exe", "gsdll32.dll"}) {
      files.push_back(wine_test::Windir() + "\\SysWOW64\\" + name);
    }
  }
  for (const std::string& file : files) {
    if (Exists(file)) found.push_back(file);
  }
  if (wine_test::KeyExists(HKEY_LOCAL_MACHINE, kPortKey)) {
    found.push_back(kPortKey);
  }
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0,
                      KEY_READ | kSetupView, &key) == ERROR_SUCCESS) {
    ::RegCloseKey(key);
    found.push_back(kUninstallKey);
  }
  if (ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta", kSetupView)) {
    found.push_back("the start-up entry");
  }
  if (ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "AutoSaveFolder",
                 kSetupView)) {
    found.push_back("the administrator's auto-save folder");
  }
  for (const auto& printer : scenario::Printers()) {
    if (printer.name == "Plumeta") found.push_back("the printer");
  }
  for (const char* environment : {"Windows NT x86", "Windows x64"}) {
    if (wine_test::CountDriver(environment) > 0) {
      found.push_back(std::string("the driver for ") + environment);
    }
  }
  return found;
}

// A Ghostscript as its own setup leaves it: the console program (the
// suite's stand-in, which runs the native gs) and the DLL in its bin folder,
// registered in the registry view of its kind. Gone with the object.
class GhostscriptStandIn {
 public:
  GhostscriptStandIn() {
    const char* bits = k64BitWindows ? "64" : "32";
    folder_ = Environment("ProgramFiles") + "\\gs\\gs10.00.0\\bin";
    ::CreateDirectoryA((Environment("ProgramFiles") + "\\gs").c_str(), nullptr);
    ::CreateDirectoryA(
        (Environment("ProgramFiles") + "\\gs\\gs10.00.0").c_str(), nullptr);
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    console_ = folder_ + "\\gswin" + bits + "c.exe";
    dll_ = folder_ + "\\gsdll" + bits + ".dll";
    EXPECT_TRUE(
        ::CopyFileA(wine_test::ThroughDriveZ(PLUMETA_GS_STANDIN).c_str(),
                    console_.c_str(), FALSE));
    EXPECT_TRUE(wine_test::WriteWholeFile(dll_, "the stand-in needs no DLL"));
    WriteString(kGhostscriptKey, "GS_DLL", dll_, 0);
    WriteString(kGhostscriptKey, "GS_LIB", folder_ + "\\..\\lib", 0);
  }
  ~GhostscriptStandIn() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\GPL Ghostscript");
    ::DeleteFileA(console_.c_str());
    ::DeleteFileA(dll_.c_str());
  }
  GhostscriptStandIn(const GhostscriptStandIn&) = delete;
  GhostscriptStandIn& operator=(const GhostscriptStandIn&) = delete;

 private:
  std::string folder_;
  std::string console_;
  std::string dll_;
};

// The "Redirected Port" monitor as the spooler lists it.
class PortMonitor {
 public:
  PortMonitor() { WriteString(kPortMonitorKey, "Driver", "redirect.dll", 0); }
  ~PortMonitor() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortMonitorKey); }
  PortMonitor(const PortMonitor&) = delete;
  PortMonitor& operator=(const PortMonitor&) = delete;
};

// What the port does with a job: its Command with its Arguments, the job on
// standard input. The command's exit code.
std::optional<DWORD> RunPort(const std::string& job_file) {
  const auto command = ReadString(HKEY_LOCAL_MACHINE, kPortKey, "Command", 0);
  const auto arguments =
      ReadString(HKEY_LOCAL_MACHINE, kPortKey, "Arguments", 0);
  if (!command || !arguments) return std::nullopt;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  win32::ScopedFileHandle job(::CreateFileA(job_file.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, &inherit,
                                            OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = job.Get();
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  std::string line = Quoted(*command) + " " + *arguments;
  PROCESS_INFORMATION started{};
  if (!job || !::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, nullptr, &startup, &started)) {
    return std::nullopt;
  }
  ::CloseHandle(started.hThread);
  win32::ScopedKernelHandle process(started.hProcess);
  DWORD code = 1;
  if (::WaitForSingleObject(process.Get(), kWaitMs) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process.Get(), &code)) {
    return std::nullopt;
  }
  return code;
}

class ReleaseScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = wine_test::ThroughDriveZ(PLUMETA_SETUP_EXE);
    if (!Exists(setup_)) GTEST_SKIP() << "no " << setup_ << " (win32 preset)";
    ASSERT_EQ(Traces(), std::vector<std::string>()) << "not a fresh prefix";
  }

  // Runs the setup with `arguments`; its exit code.
  std::optional<DWORD> RunSetup(const std::string& arguments) {
    scenario::Program setup(Quoted(setup_) + " " + arguments);
    if (!setup.started()) return std::nullopt;
    return setup.WaitEnd(kWaitMs);
  }

  std::string Log() {
    return wine_test::ReadWholeFile(wine_test::Windir() + "\\Plumeta-setup.log")
        .value_or("");
  }

  std::string setup_;
};

TEST_F(ReleaseScenario, StopsWithoutGhostscriptOrPortMonitorChangingNothing) {
  struct Case {
    bool ghostscript;
    bool port_monitor;
    DWORD exit_code;
    const char* reason;
  };
  for (const Case& c : {Case{false, true, 3, "Ghostscript is not installed"},
                        Case{true, false, 4, "\"Redirected Port\" is not"}}) {
    SCOPED_TRACE(c.reason);
    std::optional<GhostscriptStandIn> ghostscript;
    std::optional<PortMonitor> port_monitor;
    if (c.ghostscript) ghostscript.emplace();
    if (c.port_monitor) port_monitor.emplace();
    const auto exit_code = RunSetup("/S");
    if (!exit_code) GTEST_SKIP() << "the 32-bit setup does not start here";
    EXPECT_EQ(*exit_code, c.exit_code);
    EXPECT_EQ(Traces(), std::vector<std::string>());
    EXPECT_NE(Log().find(c.reason), std::string::npos) << Log();
  }
}

TEST_F(ReleaseScenario, InstallsPrintsAndRemovesSilently) {
  GhostscriptStandIn ghostscript;
  PortMonitor port_monitor;
  const auto exit_code =
      RunSetup("/S /AUTOSAVE=C:\\PDF /TEMPLATE=\"<User> <Title>\"");
  if (!exit_code) GTEST_SKIP() << "the 32-bit setup does not start here";
  ASSERT_EQ(*exit_code, 0u) << Log();

  const std::string folder = InstallFolder();
  for (const char* name : {"plumeta.exe", "plumsetup.exe", "gsbridge.dll",
                           "manual.chm", "readme.txt", "uninstall.exe"}) {
    EXPECT_TRUE(Exists(folder + "\\" + name)) << name;
  }
  EXPECT_TRUE(Exists(System32() + "\\gswin32c.exe"));
  EXPECT_TRUE(
      Exists(System32() + (k64BitWindows ? "\\gsdll64.dll" : "\\gsdll32.dll")));
  EXPECT_TRUE(Exists(System32() + "\\spool\\drivers\\w32x86\\plumeta.ppd"));
  EXPECT_EQ(Exists(System32() + "\\spool\\drivers\\x64\\plumeta.ppd"),
            k64BitWindows);
  EXPECT_EQ(scenario::Printers().size(), 1u);
  // Wine reports Windows 7, where a scheduled task starts the monitor at
  // log-on instead of the Run value.
  EXPECT_TRUE(Exists(System32() + "\\tasks\\Plumeta"));
  EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta", kSetupView));
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "FileNameTemplate",
                       kSetupView),
            "<User> <Title>");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "AutoSaveFolder",
                       kSetupView),
            "C:\\PDF");
  EXPECT_EQ(
      ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", kSetupView),
      "Plumeta");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey,
                       "QuietUninstallString", kSetupView),
            "\"" + folder + "\\uninstall.exe\" /S");

  // A job through the installed port: the installed monitor writes the
  // argument file, the installed Ghostscript copy makes the last result.
  scenario::Program monitor(Quoted(folder + "\\plumeta.exe"));
  ASSERT_TRUE(scenario::WaitResponseFileHas("-r1200", kWaitMs));
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof(temp), temp);
  const std::string job = std::string(temp) + "plumeta-job.ps";
  const std::string pdf = std::string(temp) + "1024.pdf";
  ASSERT_TRUE(wine_test::WriteWholeFile(job, kJob));
  EXPECT_EQ(RunPort(job), std::optional<DWORD>(0));
  ::DeleteFileA(job.c_str());
  EXPECT_EQ(wine_test::ReadWholeFile(pdf).value_or("").rfind("%PDF-", 0), 0u)
      << pdf;

  // The quiet removal as "Add or Remove Programs" names it; NSIS's
  // uninstaller goes on from a copy of itself, so the scenario waits for
  // its work rather than for the first process.
  scenario::Program uninstall(*ReadString(HKEY_LOCAL_MACHINE, kUninstallKey,
                                          "QuietUninstallString", kSetupView));
  EXPECT_EQ(uninstall.WaitEnd(kWaitMs), std::optional<DWORD>(0));
  EXPECT_TRUE(testing::WaitUntil([] { return Traces().empty(); },
                                 std::chrono::milliseconds(kWaitMs),
                                 std::chrono::milliseconds(200)))
      << ::testing::PrintToString(Traces()) << Log();
  EXPECT_TRUE(monitor.WaitEnd(kWaitMs).has_value()) << "the monitor still runs";
  EXPECT_TRUE(Exists(pdf)) << "the user's PDF is gone";
  ::DeleteFileA(pdf.c_str());
}

}  // namespace
}  // namespace plumeta::release_scenario
