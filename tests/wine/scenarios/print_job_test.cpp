// A print job end to end under Wine. The monitor is the test build
// plumeta_spoolbox.exe: the product's program with its printer's jobs read
// from the spool folder of the prefix, because Wine's spooler shows a job
// only to the process that made it. The scenario plays the spooler and the
// port monitor: it puts the job in the folder and runs the port's "Command"
// with its "Arguments" and the job on standard input while the job stays
// listed, as the Redirected Port does, then removes the job. The person at
// the screen is the driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/host/print/spool_jobs.h"
#include "platform/win32/scoped_handle.h"
#include "tests/support/wait_until.h"
#include "tests/wine/driver/driver.h"
#include "tests/wine/scenarios/installed_system.h"
#include "tests/wine/support/screen_capture.h"
#include "tests/wine/support/system_queries.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::scenario {
namespace {

using wine_test::Quoted;
using wine_test::RegValue;
using wine_test::Rgb;

constexpr DWORD kWaitMs = 15000;
constexpr char kBalloonClass[] = "PlumetaBalloon";
constexpr char kDocument[] = "Report: Q1/Q2";
constexpr char kJobData[] =
    "%!PS-Adobe-3.0\n"
    "/Helvetica findfont 24 scalefont setfont\n"
    "72 700 moveto (Report Q1/Q2) show\n"
    "showpage\n";
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kInfoLetter{32, 80, 192};  // the "i" of the INFO picture
constexpr char kHandlerClass[] = "PlumetaScenario.PdfFile";

std::string SpoolFolder() {
  return wine_test::Windir() + "\\system32\\spool\\PRINTERS";
}

// The job's data file, as spool_jobs.h names it.
std::string JobDataPath(std::uint32_t job_id) {
  char name[32];
  std::snprintf(name, sizeof(name), "\\%05u.SPL", job_id);
  return SpoolFolder() + name;
}

// The data of a REG_SZ line from RegValue.
std::string Data(const std::optional<std::string>& value) {
  const std::string type = "REG_SZ ";
  return value && value->rfind(type, 0) == 0 ? value->substr(type.size()) : "";
}

// The program the shell runs to open a PDF, for the scenario's time: the
// command processor writing the path it was given into `record`.
class PdfHandler {
 public:
  explicit PdfHandler(const std::string& record) {
    previous_ = ReadDefault(".pdf");
    WriteDefault(".pdf", kHandlerClass);
    WriteDefault(
        std::string(kHandlerClass) + "\\shell\\open\\command",
        "\"C:\\windows\\system32\\cmd.exe\" /c echo %1>\"" + record + "\"");
  }
  ~PdfHandler() {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kHandlerClass);
    if (previous_) {
      WriteDefault(".pdf", *previous_);
    } else {
      ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".pdf");
    }
  }
  PdfHandler(const PdfHandler&) = delete;
  PdfHandler& operator=(const PdfHandler&) = delete;

 private:
  static std::optional<std::string> ReadDefault(const std::string& key) {
    char value[MAX_PATH + 1] = {};
    LONG size = sizeof(value);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(value);
  }
  static void WriteDefault(const std::string& key, const std::string& value) {
    ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                   static_cast<DWORD>(value.size()));
  }

  std::optional<std::string> previous_;
};

// The port monitor's part: the port's command run with the job's data on
// standard input.
win32::ScopedKernelHandle RunPortCommand(const std::string& command_line,
                                         const std::string& job_data_path) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  win32::ScopedFileHandle job(::CreateFileA(job_data_path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, &inherit,
                                            OPEN_EXISTING, 0, nullptr));
  if (!job) return {};
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = job.Get();
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  std::string writable = command_line;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return {};
  }
  ::CloseHandle(started.hThread);
  return win32::ScopedKernelHandle(started.hProcess);
}

// A Linux command's standard output, through a file in `folder`.
std::string LinuxOutput(const std::string& command,
                        const wine_test::ScratchFolder& folder) {
  const std::string file = folder.File("linux-output.txt");
  const auto unix_file = wine_test::UnixPath(file);
  if (!unix_file) return "";
  wine_test::RunLinuxShell(command + " >'" + *unix_file + "' 2>&1");
  return wine_test::ReadWholeFile(file).value_or("");
}

class PrintJobScenario : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(PlaceProgramCopies()); }
  void SetUp() override { CleanSystem(); }
  void TearDown() override {
    if (job_id_ != 0) host::RemoveSpoolJob(SpoolFolder(), job_id_);
    CleanSystem();
  }

  void Choose(const Program& monitor, const std::vector<std::string>& path) {
    SCOPED_TRACE(path.back());
    HWND menu = wine_driver::OpenTrayMenu(monitor.id(), kWaitMs);
    ASSERT_NE(menu, nullptr) << "no tray menu";
    ASSERT_TRUE(
        wine_driver::PickMenuItem(menu, wine_driver::MonitorMenu(), path));
    EXPECT_TRUE(wine_driver::WaitHidden(menu, kWaitMs));
  }

  std::uint32_t job_id_ = 0;
};

// The balloon with its pointer's tip on (x, y), the pointer hanging from the
// body's lower edge 20 pixels in from its right; shaped and painted.
//
// The shape is read from the window: Wine draws the part of a shaped window
// outside its region black while the program has an icon in Wine's tray
// window (screenshot_test.cpp works round the same), so the screen shows the
// balloon's rectangle. The screenshot shows what is painted inside it.
void ExpectBalloonAt(HWND balloon, int x, int y) {
  RECT bounds;
  ASSERT_TRUE(::GetWindowRect(balloon, &bounds));
  EXPECT_EQ(bounds.right - 20, x);
  EXPECT_EQ(bounds.bottom, y);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;

  win32::ScopedGdiObject region(::CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(::GetWindowRgn(balloon, static_cast<HRGN>(region.Get())),
            COMPLEXREGION);
  const auto inside = [&](int at_x, int at_y) {
    return ::PtInRegion(static_cast<HRGN>(region.Get()), at_x, at_y) != 0;
  };
  // A polygon region leaves out its right and bottom edges: the pointer's
  // last pixel is just above and left of the point.
  EXPECT_TRUE(inside(x - bounds.left - 1, height - 1));
  EXPECT_FALSE(inside(0, 0)) << "a rounded corner";
  EXPECT_FALSE(inside(3, height - 3)) << "below the body, left of the pointer";
  EXPECT_FALSE(inside(width - 1, height - 1)) << "right of the pointer";

  const COLORREF info = ::GetSysColor(COLOR_INFOBK);
  const Rgb body{GetRValue(info), GetGValue(info), GetBValue(info)};
  const int middle = bounds.left + width / 2;
  std::optional<wine_test::ScreenCapture> shot;
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::string error;
    shot = wine_test::ScreenCapture::Take(&error);
    if (!shot) GTEST_SKIP() << "no screenshot: " << error;
    if (shot->At(middle, bounds.top + 4) == body) break;
    ::Sleep(200);  // not painted yet
  }
  EXPECT_EQ(shot->At(middle, bounds.top), kBlack) << "the outline";
  EXPECT_EQ(shot->At(middle, bounds.top + 4), body);
  // The INFO picture at its place.
  EXPECT_EQ(shot->At(bounds.left + 17, bounds.top + 17), kInfoLetter);
}

TEST_F(PrintJobScenario, AJobBecomesTheEncryptedPdfTheSaveDialogNamed) {
  if (wine_test::RunLinuxShell(
          "command -v gs >/dev/null && command -v qpdf >/dev/null") != 0) {
    GTEST_SKIP() << "needs the native gs and qpdf";
  }
  const DWORD start = ::GetTickCount();
  ASSERT_EQ(Program(Quoted(SetupExe())).WaitEnd(kWaitMs), 0u);
  const std::string command = Data(RegValue(kPortKey, "Command"));
  const std::string arguments = Data(RegValue(kPortKey, "Arguments"));
  ASSERT_FALSE(command.empty());
  ASSERT_TRUE(::CopyFileA(wine_test::ThroughDriveZ(PLUMETA_GS_STANDIN).c_str(),
                          command.c_str(), FALSE))
      << command;

  wine_test::ScratchFolder folder;
  const std::string opened_record = folder.File("opened.txt");
  PdfHandler handler(opened_record);

  Program monitor(Quoted(wine_test::ThroughDriveZ(PLUMETA_SPOOLBOX_EXE)));
  ASSERT_TRUE(monitor.started());
  ASSERT_TRUE(WaitResponseFileHas("-r1200", kWaitMs));
  Choose(monitor, {"PDF Password", "Owner Password"});
  ASSERT_TRUE(wine_driver::AnswerInput(monitor.id(), "Set Owner Password",
                                       "two words", true, kWaitMs));
  Choose(monitor, {"PDF Security", "Print document"});
  ASSERT_TRUE(WaitResponseFileHas("\r\n-dPermissions#-8\r\n", kWaitMs))
      << ResponseFile().value_or("");

  platform::PrintJob job;
  job.printer_name = "Plumeta";
  job.machine_name = "\\\\WINE";
  job.user_name = "root";
  job.document = kDocument;
  job.datatype = "RAW";
  job.print_processor = "WinPrint";
  job.driver_name = "Plumeta";
  job.priority = 1;
  job.total_pages = 1;
  job_id_ = host::AddSpoolJob(SpoolFolder(), job, kJobData);
  ASSERT_NE(job_id_, 0u);

  // The monitor has seen the job once its balloon shows; the port starts
  // Ghostscript then, while the save dialog waits for its answer.
  HWND balloon =
      wine_driver::WaitShown(kBalloonClass, nullptr, monitor.id(), kWaitMs);
  ASSERT_NE(balloon, nullptr) << "no balloon for the job";
  ExpectBalloonAt(balloon, ::GetSystemMetrics(SM_CXSCREEN) - 90,
                  ::GetSystemMetrics(SM_CYSCREEN) - 25);

  win32::ScopedKernelHandle port =
      RunPortCommand(Quoted(command) + " " + arguments, JobDataPath(job_id_));
  ASSERT_TRUE(port) << command;

  HWND main_window =
      wine_driver::WaitShown("TMain", nullptr, monitor.id(), kWaitMs);
  EXPECT_NE(main_window, nullptr) << "the main window is not shown";
  const std::string target = folder.File("Quarterly report.pdf");
  EXPECT_EQ(wine_driver::AnswerSave(monitor.id(), target, kWaitMs),
            "Report_ Q1_Q2.PDF");

  ASSERT_EQ(::WaitForSingleObject(port.Get(), kWaitMs), WAIT_OBJECT_0);
  DWORD port_exit = 1;
  ::GetExitCodeProcess(port.Get(), &port_exit);
  EXPECT_EQ(port_exit, 0u);
  host::RemoveSpoolJob(SpoolFolder(), job_id_);
  job_id_ = 0;

  ASSERT_TRUE(testing::WaitUntil(
      [&] {
        const auto pdf = wine_test::ReadWholeFile(target);
        return pdf && pdf->rfind("%PDF-", 0) == 0 &&
               pdf->find("%%EOF") != std::string::npos;
      },
      std::chrono::milliseconds(kWaitMs), std::chrono::milliseconds(50)))
      << "no PDF at " << target;
  const std::string unix_target = wine_test::UnixPath(target).value_or("");
  const std::string encryption =
      LinuxOutput("qpdf --show-encryption '" + unix_target + "'", folder);
  EXPECT_NE(encryption.find("User password = \n"), std::string::npos)
      << encryption;
  EXPECT_NE(encryption.find("print low resolution: not allowed"),
            std::string::npos)
      << encryption;
  EXPECT_NE(encryption.find("print high resolution: not allowed"),
            std::string::npos)
      << encryption;
  EXPECT_NE(LinuxOutput("qpdf --password='two words' --show-encryption '" +
                            unix_target + "'",
                        folder)
                .find("Supplied password is owner password"),
            std::string::npos);

  // "Show PDF when done" is ticked at start: the shell opens the PDF with
  // the program registered for .pdf.
  std::string opened;
  EXPECT_TRUE(testing::WaitUntil(
      [&] {
        opened = wine_test::ReadWholeFile(opened_record).value_or("");
        return opened.find("\r\n") != std::string::npos;
      },
      std::chrono::milliseconds(kWaitMs), std::chrono::milliseconds(50)))
      << "the shell was not asked to open the PDF";
  // The path as echoed, with or without the quotes the shell put round it.
  std::erase(opened, '"');
  EXPECT_EQ(opened, target + "\r\n");

  // Leaving as a person does, so that no icon of it stays in the tray.
  Choose(monitor, {"E&xit"});
  const auto warning =
      wine_driver::WaitDialog(monitor.id(), "Warning", kWaitMs);
  ASSERT_TRUE(warning);
  wine_driver::Press(warning->window, IDYES);
  EXPECT_EQ(monitor.WaitEnd(kWaitMs), 0u);
  EXPECT_LT(::GetTickCount() - start, 30000u);
}

}  // namespace
}  // namespace plumeta::scenario
