#include "setup/setup_form.h"

#include <utility>

#include "common/errors.h"
#include "common/os_edition.h"
#include "common/system_utils.h"
#include "setup/driver_deployment.h"
#include "setup/hand_over.h"
#include "setup/port_and_printer.h"
#include "setup/run_mode.h"
#include "setup/setup_names.h"

namespace plumeta::setup {

TForm1::TForm1(SetupServices services, std::unique_ptr<NoticeBalloon> balloon,
               std::vector<std::string> arguments)
    : services_(services),
      balloon_control1_(std::move(balloon)),
      arguments_(std::move(arguments)),
      timer1_(services.application, kTimer1DesignInterval,
              [this] { Timer1Timer(); }),
      fo1_(services.shell) {
  fo1_.SetFlags(opMultiDestFiles | opNoConfirmation | opNoConfirmMkDir);
}

void TForm1::FormCreate() {
  setup_done_ = 0;
  os_family_ = DecideOsFamily(services_.system);
  if (RunModeFromArguments(arguments_) == RunMode::kRemove) {
    RemovalSequence();
  } else {
    InstallationSequence();
  }
}

void TForm1::InstallationSequence() {
  // Read first: a command line that cannot be used installs nothing.
  const AdministratorAutoSave auto_save = AutoSaveFromArguments(arguments_);
  windows_prefix_ = WindowsPrefix(services_.system);
  const std::string windir =
      windows_prefix_.substr(0, windows_prefix_.size() - 1);
  wow64_ = services_.system_utils.IsWow64();

  WriteResponseFile();
  WritePortConfiguration(services_.registry, windows_prefix_);
  if (os_family_ == OsFamily::kWin9x) CreateSpoolerPortKey(services_.registry);

  if (os_family_ != OsFamily::kNtModern) {
    CopyGhostscriptPrograms(services_.files, windows_prefix_);
    CopyDriverFiles(fo1_, os_family_, windir);
  }
  RegisterDrivers(services_.spooler, os_family_, wow64_);
  AddVirtualPrinter(services_.spooler, kPrinterName, kPortName, kDriverName,
                    kPrintProcessor);

  if (os_family_ != OsFamily::kNt4) ShowInstalledBalloon();
  RegisterForStartAtLogOn();
  WriteAdministratorAutoSave(services_.registry, auto_save);

  timer1_.SetInterval(kExitDelayAfterInstall);
  timer1_.SetEnabled(true);
  setup_done_ = 1;
}

// The port's command reads the file from the native system folder; a 32-bit
// process on 64-bit Windows reaches that folder only with the file-system
// redirection turned off, as the tray monitor does when it rewrites the file.
// There the port's 32-bit Ghostscript reads the copy in SysWOW64, so that
// folder gets the same file.
void TForm1::WriteResponseFile() {
  const platform::ErrorCode code =
      InEachSystemFolder(services_.system_utils, wow64_, [this] {
        return WriteFirstResponseFile(services_.files, windows_prefix_);
      });
  if (code != platform::kSuccess) throw InOutError(code);
}

// From Vista on a scheduled task starts the monitor, and a Run value left by
// an earlier installation goes: it would start nothing there but Vista's
// "blocked startup programs" notice, or a second copy with User Account
// Control off.
void TForm1::RegisterForStartAtLogOn() {
  const std::string program_path = services_.system.ProgramPath();
  if (StartsMonitorThroughLogOnTask(services_.system)) {
    RegisterLogonTask(services_.task_scheduler, services_.system, program_path);
    RemoveStartupEntry(services_.registry);
  } else {
    WriteStartupEntry(services_.registry, program_path);
  }
}

// Both copies under WOW64: they may hold users' passwords.
void TForm1::DeleteResponseFiles() {
  const std::string windows_prefix = WindowsPrefix(services_.system);
  const platform::ErrorCode code = InEachSystemFolder(
      services_.system_utils, services_.system_utils.IsWow64(),
      [&] { return DeleteResponseFile(services_.files, windows_prefix); });
  if (code != platform::kSuccess) throw InOutError(code);
}

void TForm1::ShowInstalledBalloon() {
  const platform::Size screen = services_.application.ScreenSize();
  BalloonNotice notice;
  notice.title = "New printer installed";
  notice.lines = {
      "A new printer named 'Plumeta' has been installed on your system",
      "Creating a PDF file is as simple as selecting the 'print' command",
      "from any application and choosing this printer."};
  notice.x = screen.width - 90;
  notice.y = screen.height - 30;
  notice.duration_seconds = 30;
  notice.position = BalloonPosition::kArrowTopLeft;
  notice.kind = BalloonKind::kInfo;
  balloon_control1_->Show(notice);
}

void TForm1::RemovalSequence() {
  const int attempts = os_family_ == OsFamily::kNtModern ? 1 : 2;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    StopTrayMonitor(services_.processes, services_.application,
                    services_.system);
  }
  DeletePrinterByName(services_.spooler, kPrinterName);
  RemoveDriver(services_.spooler, os_family_);
  if (os_family_ != OsFamily::kNt4) {
    RemovePortConfiguration(services_.registry);
  }
  RemoveStartupEntry(services_.registry);
  RemoveConversionSettings(services_.registry);
  RemoveAdministratorAutoSave(services_.registry);
  DeleteResponseFiles();
  if (StartsMonitorThroughLogOnTask(services_.system)) {
    RemoveLogonTask(services_.task_scheduler, services_.system);
  }

  setup_done_ = 1;
  timer1_.SetEnabled(true);
  services_.application.Terminate();
}

void TForm1::Timer1Timer() {
  if (setup_done_ != 1) return;
  timer1_.SetEnabled(false);
  // Closing the never-shown main form ends the application the same way.
  services_.application.Terminate();
}

void TForm1::TrayIcon1Startup(bool& show_main_form) { show_main_form = false; }

}  // namespace plumeta::setup
