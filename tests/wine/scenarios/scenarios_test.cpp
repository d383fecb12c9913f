// The real programs end to end under Wine, as a person would meet them:
// plumsetup.exe installs and removes, plumeta.exe runs in the tray and is
// worked through its menu and dialogs by the driver, and the results are
// read back the way an administrator would (reg query, the argument file,
// the spooler's printer list).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/driver/driver.h"
#include "tests/wine/scenarios/installed_system.h"
#include "tests/wine/support/system_queries.h"
#include "tests/wine/support/window_finder.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::scenario {
namespace {

using wine_driver::MonitorMenu;
using wine_test::CountDriver;
using wine_test::PretendWindows;
using wine_test::Quoted;
using wine_test::RegQuery;
using wine_test::RegValue;
using wine_test::Windir;

constexpr DWORD kWaitMs = 15000;
constexpr char kBalloonClass[] = "PlumetaBalloon";

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The process's top-level window of that class, shown or not, waited for.
HWND WaitOwnWindow(const char* class_name, DWORD process_id) {
  return wine_test::WaitForWindow(
      [&] { return wine_test::FindAnyWindow(class_name, nullptr, process_id); },
      kWaitMs);
}

// The monitor's application window: there once its start-up has begun.
HWND WaitApplicationWindow(DWORD process_id) {
  return WaitOwnWindow("Plumeta", process_id);
}

// The balloon with its pointer at the lower edge, 20 pixels in from the
// right (the body above and to the left of the point it shows).
void ExpectTipAt(HWND balloon, int x, int y) {
  RECT bounds;
  ::GetWindowRect(balloon, &bounds);
  EXPECT_LE(std::abs(bounds.right - 20 - x), 1) << bounds.right;
  EXPECT_LE(std::abs(bounds.bottom - y), 1) << bounds.bottom;
}

// Whether Wine's tray shows an icon.
bool TrayShowsAnIcon() {
  HWND tray = wine_driver::WaitShown("Shell_TrayWnd", nullptr, 0, 0);
  if (tray == nullptr) tray = ::FindWindowA(nullptr, "Wine System Tray");
  if (tray == nullptr || !::IsWindowVisible(tray)) return false;
  for (HWND icon = ::GetWindow(tray, GW_CHILD); icon != nullptr;
       icon = ::GetWindow(icon, GW_HWNDNEXT)) {
    if (::IsWindowVisible(icon)) return true;
  }
  return false;
}

class ScenarioTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(PlaceProgramCopies()); }
  void SetUp() override { CleanSystem(); }
  void TearDown() override { CleanSystem(); }

  // Starts the monitor and waits for its start-up to be under way.
  Program StartMonitor(const std::string& arguments = "") {
    Program monitor(Quoted(MonitorExe()) +
                    (arguments.empty() ? "" : " " + arguments));
    EXPECT_TRUE(monitor.started());
    EXPECT_NE(WaitApplicationWindow(monitor.id()), nullptr);
    return monitor;
  }

  // Opens the tray menu and chooses `path`.
  void Choose(const Program& monitor, const std::vector<std::string>& path) {
    SCOPED_TRACE(path.back());
    HWND menu = wine_driver::OpenTrayMenu(monitor.id(), kWaitMs);
    ASSERT_NE(menu, nullptr) << "no tray menu";
    ASSERT_TRUE(wine_driver::PickMenuItem(menu, MonitorMenu(), path));
    EXPECT_TRUE(wine_driver::WaitHidden(menu, kWaitMs));
  }
};

TEST_F(ScenarioTest, SetupInstallsPortArgumentFileAndPrinter) {
  Program setup(Quoted(SetupExe()));
  ASSERT_TRUE(setup.started());
  // Its only window: the balloon that names the new printer, pointing at
  // the lower right of the screen.
  HWND balloon =
      wine_driver::WaitShown(kBalloonClass, nullptr, setup.id(), kWaitMs);
  ASSERT_NE(balloon, nullptr);
  ExpectTipAt(balloon, ::GetSystemMetrics(SM_CXSCREEN) - 90,
              ::GetSystemMetrics(SM_CYSCREEN) - 30);
  EXPECT_EQ(setup.WaitEnd(kWaitMs), 0u);

  const std::string windir = Windir();
  const auto port = RegQuery(kPortKey);
  ASSERT_TRUE(port) << "no port key";
  EXPECT_EQ(Sorted(*port),
            Sorted({
                "Arguments REG_SZ @" + windir + "\\system32\\plum.rsp -",
                "Command REG_SZ " + windir + "\\system32\\gswin32c.exe",
                "Delay REG_DWORD 0x12c",
                "Description REG_SZ Redirected Port",
                "LogFileDebug REG_DWORD 0x0",
                "LogFileName REG_SZ ",
                "LogFileUse REG_DWORD 0x0",
                "Output REG_DWORD 0x0",
                "PrintError REG_DWORD 0x0",
                "Printer REG_SZ ",
                "RunUser REG_DWORD 0x0",
                "ShowWindow REG_DWORD 0x2",
            }));
  // Windows 7: a scheduled task starts the monitor at log-on, no Run value.
  EXPECT_FALSE(RegValue(kRunKey, "Plumeta"));

  const auto file = ResponseFile();
  ASSERT_TRUE(file);
  const std::string prefix = windir + "\\system32\\";
  EXPECT_EQ(Lines(*file), (std::vector<std::string>{
                              "-I" + prefix + "lib;" + prefix + "fonts",
                              "",
                              "-sDEVICE=pdfwrite",
                              "",
                              "-sOutputFile=" + prefix + "lib\\1024.pdf",
                              "",
                              "-dNOPAUSE",
                              "",
                              "-dSAFER",
                              "",
                              "-dBATCH",
                              "",
                          }));

  const auto printers = Printers();
  const auto plumeta =
      std::find_if(printers.begin(), printers.end(),
                   [](const PrinterSeen& p) { return p.name == "Plumeta"; });
  ASSERT_NE(plumeta, printers.end()) << "EnumPrinters does not list Plumeta";
  EXPECT_EQ(plumeta->port, "PLUM:");
  EXPECT_EQ(plumeta->driver, "Plumeta");
}

TEST_F(ScenarioTest, MonitorRunsInTheTrayAndTakesItsSettingsFromTheMenu) {
  Program monitor = StartMonitor();
  // Hidden at start, its icon in the tray.
  HWND main_window = WaitOwnWindow("TMain", monitor.id());
  ASSERT_NE(main_window, nullptr);
  ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
  EXPECT_FALSE(::IsWindowVisible(main_window));
  EXPECT_TRUE(TrayShowsAnIcon());

  {
    SCOPED_TRACE("a second start ends at once, the first stays");
    Program second(Quoted(MonitorExe()));
    EXPECT_EQ(second.WaitEnd(kWaitMs), 0u);
    EXPECT_EQ(monitor.WaitEnd(0), std::nullopt);
  }

  Choose(monitor, {"PDF Resolution", "600"});
  EXPECT_TRUE(WaitResponseFileHas("\r\n-r600\r\n", kWaitMs)) << *ResponseFile();

  Choose(monitor, {"PDF Password", "Owner Password"});
  std::string initial = "?";
  const auto input = wine_driver::AnswerInput(
      monitor.id(), "Set Owner Password", "two words", true, kWaitMs, &initial);
  ASSERT_TRUE(input);
  EXPECT_EQ(input->text, "Enter the Owner Password: ");
  EXPECT_EQ(initial, "");
  EXPECT_TRUE(
      WaitResponseFileHas("\r\n-sOwnerPassword=\"two words\"\r\n", kWaitMs))
      << *ResponseFile();

  Choose(monitor, {"PDF Security", "Print document"});
  EXPECT_TRUE(WaitResponseFileHas("\r\n-dPermissions#-8\r\n", kWaitMs))
      << *ResponseFile();
  // An owner password is set: no prompt for one.
  EXPECT_FALSE(
      wine_driver::WaitDialog(monitor.id(), "Owner Password Required", 300));

  Choose(monitor, {"E&xit"});
  const auto warning =
      wine_driver::WaitDialog(monitor.id(), "Warning", kWaitMs);
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->text,
            "Do you really want to quit? If you quit now, you won't be able to "
            "create PDF files with Plumeta.");
  ASSERT_TRUE(wine_driver::Press(warning->window, IDYES));
  EXPECT_EQ(monitor.WaitEnd(kWaitMs), 0u);

  const auto settings = RegQuery(kSettingsKey);
  ASSERT_TRUE(settings);
  EXPECT_EQ(Sorted(*settings), Sorted({
                                   "OPwd REG_SZ two words",
                                   "Permission REG_SZ 01111111",
                                   "Quality REG_SZ Default",
                                   "Resolution REG_SZ 600",
                                   "UPwd REG_SZ ",
                                   "Version REG_SZ 1.3",
                               }));
}

TEST_F(ScenarioTest, RemovalEndsTheMonitorAndTakesEverythingAway) {
  ASSERT_EQ(Program(Quoted(SetupExe())).WaitEnd(kWaitMs), 0u);
  // The monitor as log-on starts it: the scheduled task's command (which
  // Wine does not keep), the monitor beside the setup program.
  const std::string command = std::string(kInstallFolder) + "\\Plumeta.exe";
  Program monitor(Quoted(command));
  ASSERT_TRUE(monitor.started()) << command;
  ASSERT_NE(WaitApplicationWindow(monitor.id()), nullptr);
  ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
  // Settings as a closed main window leaves them.
  HWND main_window = WaitOwnWindow("TMain", monitor.id());
  ASSERT_NE(main_window, nullptr);
  ::PostMessageA(main_window, WM_CLOSE, 0, 0);
  testing::WaitUntil([] { return RegQuery(kSettingsKey).has_value(); },
                     std::chrono::milliseconds(kWaitMs),
                     std::chrono::milliseconds(100));
  ASSERT_TRUE(RegValue(kSettingsKey, "Permission"));

  ASSERT_EQ(Program(Quoted(SetupExe()) + " 1024").WaitEnd(kWaitMs), 0u);
  EXPECT_TRUE(monitor.WaitEnd(0)) << "the monitor still runs";
  const auto printers = Printers();
  EXPECT_EQ(
      std::count_if(printers.begin(), printers.end(),
                    [](const PrinterSeen& p) { return p.name == "Plumeta"; }),
      0);
  EXPECT_EQ(CountDriver("Windows NT x86"), 0);
  EXPECT_FALSE(RegQuery(kPortKey));
  EXPECT_FALSE(RegValue(kRunKey, "Plumeta"));
  for (const char* name :
       {"Version", "Quality", "UPwd", "OPwd", "Resolution", "Permission"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(RegValue(kSettingsKey, name));
  }
}

// Wine's per-program Windows version for plumeta.exe: the printing
// preferences leave the menu on 9x and NT 4.0, and NT 4.0 gets no welcome
// balloon. (The setup program's branches for these systems are checked in
// plumsetup_test.cpp with the files they copy.)
TEST_F(ScenarioTest, OlderWindowsHidePrintingPreferencesAndNt4TheWelcome) {
  const struct {
    const char* version;
    bool preferences_shown;
    bool welcome_shown;
  } kRows[] = {
      {"win7", true, true},
      {"win98", false, true},
      {"nt40", false, false},
  };
  int menu_height[3] = {};
  for (int i = 0; i < 3; ++i) {
    const auto& row = kRows[i];
    SCOPED_TRACE(row.version);
    PretendWindows("plumeta.exe", row.version);
    Program monitor = StartMonitor("/welcome");
    HWND balloon = wine_driver::WaitShown(kBalloonClass, nullptr, monitor.id(),
                                          row.welcome_shown ? kWaitMs : 1500);
    EXPECT_EQ(balloon != nullptr, row.welcome_shown);
    if (balloon != nullptr) {
      ExpectTipAt(balloon, ::GetSystemMetrics(SM_CXSCREEN) - 90,
                  ::GetSystemMetrics(SM_CYSCREEN) - 25);
    }

    HWND menu = wine_driver::OpenTrayMenu(monitor.id(), kWaitMs);
    ASSERT_NE(menu, nullptr);
    RECT bounds;
    ::GetWindowRect(menu, &bounds);
    menu_height[i] = bounds.bottom - bounds.top;
    if (!row.preferences_shown) {
      // Its access key finds no item: the menu stays open.
      ::PostMessageA(menu, WM_CHAR, 'p', 1);
      ::Sleep(300);
      EXPECT_TRUE(::IsWindowVisible(menu));
    }
    wine_driver::CloseMenu(menu);
  }
  // One item and one separator fewer on both older systems.
  EXPECT_EQ(menu_height[1], menu_height[2]);
  EXPECT_GT(menu_height[0], menu_height[1]);
}

// The height of the monitor's tray menu, opened and closed again; 0 when it
// does not open.
int TrayMenuHeight(const Program& monitor) {
  HWND menu = wine_driver::OpenTrayMenu(monitor.id(), kWaitMs);
  if (menu == nullptr) return 0;
  RECT bounds;
  ::GetWindowRect(menu, &bounds);
  wine_driver::CloseMenu(menu);
  return bounds.bottom - bounds.top;
}

// Auto-save as the user sets it from the menu, and as an administrator's
// plumsetup /autosave sets it for everybody: the item then leaves the menu.
TEST_F(ScenarioTest, AutoSaveFromTheMenuAndLockedBySetup) {
  for (const char* folder : {"C:\\PlumPDF", "C:\\PlumAll"}) {
    ::CreateDirectoryA(folder, nullptr);
  }
  int menu_height[2] = {};
  {
    Program monitor = StartMonitor();
    ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
    Choose(monitor, {"Save Automatically..."});
    std::string initial = "?";
    const auto input =
        wine_driver::AnswerInput(monitor.id(), "Save Automatically",
                                 "C:\\PlumPDF\\", true, kWaitMs, &initial);
    ASSERT_TRUE(input);
    EXPECT_EQ(initial, "");
    testing::WaitUntil(
        [] { return RegValue(kSettingsKey, "AutoSaveFolder").has_value(); },
        std::chrono::milliseconds(kWaitMs), std::chrono::milliseconds(100));
    EXPECT_EQ(RegValue(kSettingsKey, "AutoSaveFolder"), "REG_SZ C:\\PlumPDF");
    menu_height[0] = TrayMenuHeight(monitor);
    ASSERT_GT(menu_height[0], 0);
  }

  ASSERT_EQ(Program(Quoted(SetupExe()) + " /autosave C:\\PlumAll /template " +
                    Quoted("<User> <Title>"))
                .WaitEnd(kWaitMs),
            0u);
  EXPECT_EQ(RegValue(kAdministratorSettingsKey, "AutoSaveFolder"),
            "REG_SZ C:\\PlumAll");
  EXPECT_EQ(RegValue(kAdministratorSettingsKey, "FileNameTemplate"),
            "REG_SZ <User> <Title>");
  {
    Program monitor = StartMonitor();
    ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
    // No error box: the administrator's folder is usable.
    EXPECT_FALSE(wine_driver::WaitDialog(monitor.id(), "Plumeta", 500));
    menu_height[1] = TrayMenuHeight(monitor);
    ASSERT_GT(menu_height[1], 0);
  }
  EXPECT_LT(menu_height[1], menu_height[0]);

  ASSERT_EQ(Program(Quoted(SetupExe()) + " 1024").WaitEnd(kWaitMs), 0u);
  EXPECT_FALSE(RegValue(kAdministratorSettingsKey, "AutoSaveFolder"));
  EXPECT_FALSE(RegValue(kAdministratorSettingsKey, "FileNameTemplate"));
  EXPECT_FALSE(RegValue(kSettingsKey, "AutoSaveFolder"));
}

namespace {

void SetString(HKEY root, const std::string& path, const char* name,
               const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, name, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  ::RegCloseKey(key);
}

void WriteFileText(const std::string& path, const std::string& text) {
  win32::ScopedFileHandle file(::CreateFileA(
      path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

std::string ReadFileText(const std::string& path) {
  win32::ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (file &&
         ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) &&
         read > 0) {
    text.append(buffer, read);
  }
  return text;
}

}  // namespace

// "Save Combined PDF..." merges what a former run collected in-process:
// gsbridge.dll beside plumeta.exe loads the Ghostscript DLL beside the
// console program the port runs, here a stand-in that records the merge's
// arguments and writes a PDF, which lands in the auto-save folder under the
// first document's title.
TEST_F(ScenarioTest, SaveCombinedPdfMergesThroughTheBridge) {
  const std::string gs_folder = "C:\\PlumGs";
  const std::string arguments_file = gs_folder + "\\arguments.txt";
  ::CreateDirectoryA(gs_folder.c_str(), nullptr);
  ::CreateDirectoryA("C:\\PlumCombined", nullptr);
  ::DeleteFileA(arguments_file.c_str());
  ::DeleteFileA("C:\\PlumCombined\\First.pdf");
  ASSERT_TRUE(::CopyFileA(
      wine_test::ThroughDriveZ(PLUMETA_GSBRIDGE).c_str(),
      (std::string(kInstallFolder) + "\\gsbridge.dll").c_str(), FALSE));
  // The monitor loads the Ghostscript of its own width.
  const char* ghostscript = sizeof(void*) == 8 ? "gsdll64.dll" : "gsdll32.dll";
  ASSERT_TRUE(
      ::CopyFileA(wine_test::ThroughDriveZ(PLUMETA_GS_MERGE_RECORDER).c_str(),
                  (gs_folder + "\\" + ghostscript).c_str(), FALSE));
  const std::string port_key = std::string(kPortKey).substr(5);
  const std::string settings_key = std::string(kSettingsKey).substr(5);
  SetString(HKEY_LOCAL_MACHINE, port_key, "Command",
            gs_folder + "\\gswin32c.exe");
  SetString(HKEY_CURRENT_USER, settings_key, "AutoSaveFolder",
            "C:\\PlumCombined");
  SetString(HKEY_CURRENT_USER, settings_key, "OPwd", "owner");
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string collected = std::string(temp) + "Plumeta Combined";
  ::CreateDirectoryA(collected.c_str(), nullptr);
  const char kPdf[] = "%PDF-1.4\n<</Type/Page>>\nstartxref\n0\n%%EOF\n";
  WriteFileText(collected + "\\1.pdf", kPdf);
  WriteFileText(collected + "\\2.pdf", kPdf);
  WriteFileText(collected + "\\documents.lst",
                "1.pdf\t1\tuser\tFirst\r\n2.pdf\t1\tuser\tSecond\r\n");
  {
    Program monitor = StartMonitor();
    ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
    Choose(monitor, {"Show PDF when done"});  // nothing opens the PDF
    Choose(monitor, {"Save Combined PDF..."});
    EXPECT_TRUE(testing::WaitUntil(
        [] {
          return ::GetFileAttributesA("C:\\PlumCombined\\First.pdf") !=
                 INVALID_FILE_ATTRIBUTES;
        },
        std::chrono::milliseconds(kWaitMs), std::chrono::milliseconds(100)));
  }
  const std::string arguments = ReadFileText(arguments_file);
  const std::string expected[] = {
      "-sOutputFile=" + collected + "\\combined.pdf\n",
      "-sOwnerPassword=owner\n",
      "-f\n" + collected + "\\1.pdf\n-f\n" + collected + "\\2.pdf\n",
  };
  for (const std::string& line : expected) {
    EXPECT_NE(arguments.find(line), std::string::npos) << line << arguments;
  }
  // Delivered: nothing stays collected.
  EXPECT_EQ(::GetFileAttributesA((collected + "\\documents.lst").c_str()),
            INVALID_FILE_ATTRIBUTES);
  ::DeleteFileA("C:\\PlumCombined\\First.pdf");
}

}  // namespace
}  // namespace plumeta::scenario
