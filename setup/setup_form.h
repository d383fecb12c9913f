// The setup program's form. It is never shown: creating it installs or
// removes the printer in one pass, and its exit timer ends the program.
#ifndef SETUP_SETUP_FORM_H_
#define SETUP_SETUP_FORM_H_

#include <memory>
#include <string>
#include <vector>

#include "common/os_edition.h"
#include "common/system_utils.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/task_scheduler.h"
#include "setup/file_operator.h"
#include "setup/form_timer.h"
#include "setup/notice_balloon.h"

namespace plumeta::setup {

// The parts of the platform the setup steps reach.
struct SetupServices {
  platform::Registry& registry;
  platform::Files& files;
  platform::System& system;
  platform::Spooler& spooler;
  platform::Shell& shell;
  platform::Processes& processes;
  platform::Application& application;
  SystemUtils& system_utils;
  platform::TaskScheduler& task_scheduler;
};

inline constexpr std::uint32_t kTimer1DesignInterval = 2000;
inline constexpr std::uint32_t kExitDelayAfterInstall = 5000;

class TForm1 {
 public:
  // `arguments` without the program's own name.
  TForm1(SetupServices services, std::unique_ptr<NoticeBalloon> balloon,
         std::vector<std::string> arguments);

  // Runs the whole installation or removal. An error raised by a step ends
  // it there, with everything done so far left in place.
  void FormCreate();
  void Timer1Timer();
  // The tray-icon component's start-up event: the form stays hidden.
  void TrayIcon1Startup(bool& show_main_form);

  int SetupDone() const { return setup_done_; }
  const FormTimer& Timer1() const { return timer1_; }
  TFileOperator& FO1() { return fo1_; }

 private:
  void InstallationSequence();
  void RemovalSequence();
  void WriteResponseFile();
  void RegisterForStartAtLogOn();
  void DeleteResponseFiles();
  void ShowInstalledBalloon();

  SetupServices services_;
  std::unique_ptr<NoticeBalloon> balloon_control1_;
  std::vector<std::string> arguments_;
  FormTimer timer1_;
  TFileOperator fo1_;
  int setup_done_ = 0;
  OsFamily os_family_ = OsFamily::kNtModern;
  std::string windows_prefix_;
  bool wow64_ = false;
};

}  // namespace plumeta::setup

#endif  // SETUP_SETUP_FORM_H_
