// plumsetup.exe itself under Wine: what an installation leaves in the
// registry, the system folders, the spooler and the scheduled tasks, as other
// programs see it, and how a removal takes it away again and ends a running
// plumeta.exe.
//
// This suite runs the 64-bit build, which sees no WOW64: it registers the
// driver for "Windows NT x86" only, while Wine's AddPrinterA looks the driver
// up in the caller's own environment ("Windows x64"). The fixture therefore
// registers the x64 driver first, as the WOW64 branch of the 32-bit program
// would have done.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"
#include "tests/wine/support/plumeta_printer.h"
#include "tests/wine/support/process_runner.h"
#include "tests/wine/support/system_queries.h"
#include "tests/wine/support/wine_test_support.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta {
namespace {

using wine_test::CountDriver;
using wine_test::PretendWindows;
using wine_test::Quoted;
using wine_test::RegQuery;
using wine_test::SystemFolder;
using wine_test::Windir;

constexpr char kPortKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
constexpr char kSpoolerPortKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Ports\\PLUM:";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\plumsetup.exe";

std::string SetupPath() { return wine_test::ThroughDriveZ(PLUMSETUP_EXE); }

std::optional<std::string> StringValue(HKEY root, const std::string& path,
                                       const std::string& name) {
  char data[1024] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const LONG read = ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::string(data);
}

// The log-on task as Wine keeps it: a file named for it, whose definition
// Wine rewrites without its trigger, run level and command (the unit suite
// checks those).
std::string TaskFile() {
  return wine_test::NativeSystemFolder() + "\\tasks\\Plumeta";
}
// The argument file where a 32-bit program's own open of system32\plum.rsp
// lands: SysWOW64 under WOW64, else the system folder itself.
std::string ResponseFileOf32BitPrograms() {
  return SystemFolder() + "\\plum.rsp";
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

int CountPrinters() {
  DWORD needed = 0, returned = 0;
  ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed,
                  &returned);
  std::vector<BYTE> buffer(needed + 1);
  if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed,
                       &needed, &returned)) {
    return 0;
  }
  const auto* printers = reinterpret_cast<PRINTER_INFO_4A*>(buffer.data());
  int count = 0;
  for (DWORD i = 0; i < returned; ++i) {
    count += std::string(printers[i].pPrinterName) == "Plumeta";
  }
  return count;
}

void DeleteDriver(const char* environment) {
  char name[] = "Plumeta";
  ::DeletePrinterDriverA(nullptr, const_cast<char*>(environment), name);
}

// Everything an installation leaves, taken away.
void Clean() {
  wine_test::DeletePlumetaPrinters();
  for (const char* environment :
       {"Windows NT x86", "Windows x64", "Windows 4.0"}) {
    DeleteDriver(environment);
  }
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortKey);
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSpoolerPortKey);
  HKEY run = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &run) ==
      ERROR_SUCCESS) {
    ::RegDeleteValueA(run, "Plumeta");
    ::RegCloseKey(run);
  }
  ::DeleteFileA((wine_test::NativeSystemFolder() + "\\plum.rsp").c_str());
  ::DeleteFileA(ResponseFileOf32BitPrograms().c_str());
  ::DeleteFileA(TaskFile().c_str());
}

class PlumsetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    wine_test::AddX64PlumetaDriver();
  }
  void TearDown() override {
    Clean();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kAppDefaults);
  }

  std::optional<wine_test::Finished> RunSetup(const std::string& arguments) {
    return wine_test::RunToEnd(Quoted(SetupPath()) + " " + arguments, 30000);
  }
};

TEST_F(PlumsetupTest,
       InstallationLeavesPortArgumentFilesDriverPrinterAndLogOnTask) {
  auto finished = RunSetup("");
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->exit_code, 0u);
  // The exit timer ends the program five seconds after the last step.
  EXPECT_GE(finished->elapsed_ms, 4500u);

  // Wine lists a key's values by name, not in the order they were written
  // (the unit and host suites check that order).
  const std::string windir = Windir();
  EXPECT_EQ(Sorted(RegQuery("HKLM\\" + std::string(kPortKey))
                       .value_or(std::vector<std::string>{})),
            Sorted({
                "Arguments REG_SZ @" + windir + "\\system32\\plum.rsp -",
                "Command REG_SZ " + windir + "\\system32\\gswin32c.exe",
                "Description REG_SZ Redirected Port",
                "Printer REG_SZ ",
                "Output REG_DWORD 0x0",
                "ShowWindow REG_DWORD 0x2",
                "RunUser REG_DWORD 0x0",
                "Delay REG_DWORD 0x12c",
                "LogFileUse REG_DWORD 0x0",
                "LogFileName REG_SZ ",
                "LogFileDebug REG_DWORD 0x0",
                "PrintError REG_DWORD 0x0",
            }));

  const std::string prefix = windir + "\\";
  const std::string first_file =
      "-I" + prefix + "system32\\lib;" + prefix +
      "system32\\fonts\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n"
      "-sOutputFile=" +
      prefix +
      "system32\\lib\\1024.pdf\r\n\r\n-dNOPAUSE\r\n\r\n"
      "-dSAFER\r\n\r\n-dBATCH\r\n\r\n";
  EXPECT_EQ(
      wine_test::ReadWholeFile(wine_test::NativeSystemFolder() + "\\plum.rsp"),
      first_file);
  // Under WOW64 (the 32-bit build in a 64-bit prefix) in SysWOW64 too, where
  // the port's 32-bit Ghostscript opens it.
  EXPECT_EQ(wine_test::ReadWholeFile(ResponseFileOf32BitPrograms()),
            first_file);

  EXPECT_EQ(CountDriver("Windows NT x86"), 1);
  EXPECT_EQ(CountPrinters(), 1);
  EXPECT_FALSE(wine_test::KeyExists(HKEY_LOCAL_MACHINE, kSpoolerPortKey));
  // Wine says Windows 7: the task starts the monitor, no Run value.
  EXPECT_TRUE(FileExists(TaskFile())) << TaskFile();
  EXPECT_FALSE(StringValue(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta"));

  // Wine's spooler would take a second printer of the name; the program
  // looks first.
  ASSERT_TRUE(RunSetup(""));
  EXPECT_EQ(CountPrinters(), 1);
}

TEST_F(PlumsetupTest, RemovalTakesEverythingAwayAndEndsTheTrayMonitor) {
  ASSERT_TRUE(RunSetup(""));
  ASSERT_EQ(CountPrinters(), 1);
  DWORD id = 0;
  win32::ScopedKernelHandle monitor = wine_test::StartProcess(
      Quoted(wine_test::ThroughDriveZ(PLUMETA_STANDIN_EXE)), &id);
  ASSERT_TRUE(monitor);
  ::Sleep(500);  // until it shows in snapshots

  auto finished = RunSetup("1024");
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->exit_code, 0u);
  EXPECT_LT(finished->elapsed_ms, 4000u);  // no exit delay after a removal

  EXPECT_EQ(::WaitForSingleObject(monitor.Get(), 0), WAIT_OBJECT_0);
  DWORD exit_code = 1;
  ::GetExitCodeProcess(monitor.Get(), &exit_code);
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(CountPrinters(), 0);
  EXPECT_EQ(CountDriver("Windows NT x86"), 0);
  EXPECT_EQ(CountDriver("Windows x64"), 1);  // only the 32-bit one goes
  EXPECT_FALSE(wine_test::KeyExists(HKEY_LOCAL_MACHINE, kPortKey));
  EXPECT_FALSE(StringValue(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta"));
  EXPECT_FALSE(FileExists(TaskFile()));
  EXPECT_FALSE(FileExists(wine_test::NativeSystemFolder() + "\\plum.rsp"));
  EXPECT_FALSE(FileExists(ResponseFileOf32BitPrograms()));
}

TEST_F(PlumsetupTest, RemovalOnAnEmptySystemEndsAtOnce) {
  auto finished = RunSetup("1024");
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->exit_code, 0u);
  EXPECT_LT(finished->elapsed_ms, 4000u);
  EXPECT_EQ(CountPrinters(), 0);
}

// Files put in place for a test and taken away after it, with the copies
// the program makes of them.
class PlacedFiles {
 public:
  ~PlacedFiles() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
      ::DeleteFileA(it->c_str());
    }
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
      ::RemoveDirectoryA(it->c_str());
    }
  }
  // A folder made here (when missing) goes with the test.
  void Folder(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) folders_.push_back(path);
  }
  bool Put(const std::string& path, const std::string& content) {
    files_.push_back(path);
    return wine_test::WriteWholeFile(path, content);
  }
  // A file the program makes (an existing one is left as it is).
  void Expect(const std::string& path) {
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      files_.push_back(path);
    }
  }

 private:
  std::vector<std::string> files_;
  std::vector<std::string> folders_;
};

// The Ghostscript program and library in the system folder, copied up into
// the Windows folder on NT 4.0 and 9x.
void PlaceGhostscript(PlacedFiles& placed) {
  for (const char* name : {"gswin32c.exe", "gsdll32.dll"}) {
    const std::string source = SystemFolder() + "\\" + name;
    if (::GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ASSERT_TRUE(placed.Put(source, name));
    }
    placed.Expect(Windir() + "\\" + name);
  }
}

void ExpectGhostscriptCopies() {
  for (const char* name : {"gswin32c.exe", "gsdll32.dll"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(wine_test::ReadWholeFile(Windir() + "\\" + name),
              wine_test::ReadWholeFile(SystemFolder() + "\\" + name));
  }
}

// Windows 98 for plumsetup.exe alone: the 9x branch copies the driver and
// Ghostscript files and registers the "Windows 4.0" driver.
TEST_F(PlumsetupTest, OnWindows98TheNinetyEightBranchRuns) {
  PretendWindows("plumsetup.exe", "win98");
  PlacedFiles placed;
  const std::string windir = Windir();
  const char* const kFiles[] = {"adfonts.mfm",  "ADIST5.PPD",   "ADOBEPS4.DRV",
                                "ADOBEPS4.HLP", "defprtr2.ppd", "ICONLIB.DLL",
                                "PSMON.DLL"};
  placed.Folder(windir + "\\SYSTEM32\\Port");
  placed.Folder(windir + "\\SYSTEM32\\Port\\Me");
  placed.Folder(windir + "\\SYSTEM");
  for (const char* file : kFiles) {
    ASSERT_TRUE(placed.Put(windir + "\\SYSTEM32\\Port\\Me\\" + file, file));
    placed.Expect(windir + "\\SYSTEM\\" + file);
  }
  PlaceGhostscript(placed);

  ASSERT_TRUE(RunSetup(""));
  EXPECT_EQ(CountDriver("Windows 4.0"), 1);
  EXPECT_EQ(CountDriver("Windows NT x86"), 0);
  EXPECT_TRUE(wine_test::KeyExists(HKEY_LOCAL_MACHINE, kSpoolerPortKey));
  for (const char* file : kFiles) {
    SCOPED_TRACE(file);
    EXPECT_EQ(wine_test::ReadWholeFile(windir + "\\SYSTEM\\" + file),
              std::string(file));
  }
  ExpectGhostscriptCopies();

  ASSERT_TRUE(RunSetup("1024"));
  EXPECT_EQ(CountDriver("Windows 4.0"), 0);
  EXPECT_FALSE(wine_test::KeyExists(HKEY_LOCAL_MACHINE, kPortKey));
  EXPECT_TRUE(
      wine_test::KeyExists(HKEY_LOCAL_MACHINE, kSpoolerPortKey));  // stays
}

// NT 4.0 for plumsetup.exe alone: the driver files go to four folders (the
// last two made by the shell's copy), the driver is version 2, and the
// removal leaves the port's key.
TEST_F(PlumsetupTest, OnNt4TheNt4BranchRuns) {
  PretendWindows("plumsetup.exe", "nt40");
  PlacedFiles placed;
  const std::string windir = Windir();
  const char* const kFiles[] = {"AdobePS5.dll", "AdobePS5.ntf", "AdobePSu.dll",
                                "ADOBEPSU.HLP", "defprtr2.ppd", "ADIST5.PPD",
                                "ICONLIB.DLL",  "PSMON.DLL"};
  const std::string kDestinations[] = {
      windir + "\\SYSTEM", windir + "\\SYSTEM32",
      windir + "\\SYSTEM32\\spool\\drivers\\w32x86",
      windir + "\\SYSTEM32\\spool\\drivers\\w32x86\\2"};
  placed.Folder(windir + "\\system32\\Port");
  placed.Folder(windir + "\\system32\\Port\\NT");
  for (const std::string& folder : kDestinations) placed.Folder(folder);
  for (const char* file : kFiles) {
    ASSERT_TRUE(placed.Put(windir + "\\system32\\Port\\NT\\" + file, file));
    for (const std::string& folder : kDestinations) {
      placed.Expect(folder + "\\" + file);
    }
  }
  PlaceGhostscript(placed);

  auto finished = RunSetup("");
  ASSERT_TRUE(finished);
  EXPECT_GE(finished->elapsed_ms, 4500u);  // no balloon, the same exit delay
  EXPECT_EQ(CountDriver("Windows NT x86"), 1);
  EXPECT_FALSE(wine_test::KeyExists(HKEY_LOCAL_MACHINE, kSpoolerPortKey));
  for (const std::string& folder : kDestinations) {
    for (const char* file : kFiles) {
      SCOPED_TRACE(folder + "\\" + file);
      EXPECT_EQ(wine_test::ReadWholeFile(folder + "\\" + file),
                std::string(file));
    }
  }
  ExpectGhostscriptCopies();

  ASSERT_TRUE(RunSetup("1024"));
  EXPECT_EQ(CountDriver("Windows NT x86"), 0);
  EXPECT_EQ(CountPrinters(), 0);
  EXPECT_TRUE(
      wine_test::KeyExists(HKEY_LOCAL_MACHINE, kPortKey));  // NT 4.0 keeps it
}

}  // namespace
}  // namespace plumeta
