// plumsetup: installs the printer "Plumeta" (no argument, or any first
// argument but "1024") or removes it ("1024"), then ends by itself.
#include <memory>
#include <string>
#include <vector>

#include "common/module_list.h"
#include "common/system_utils.h"
#include "platform/balloon_windows.h"
#include "platform/notification_area.h"
#include "platform/platform.h"
#include "setup/setup_program.h"
#include "setup/setup_widgets.h"
#include "widgets/balloon.h"

int main(int argc, char** argv) {
  using namespace plumeta;
  std::unique_ptr<platform::Platform> platform = platform::CreatePlatform();
  std::unique_ptr<platform::BalloonWindows> balloon_windows =
      platform::CreateBalloonWindows();
  std::unique_ptr<platform::NotificationArea> notification_area =
      platform::CreateNotificationArea();
  ModuleList modules(*platform->libraries);
  SystemUtils system_utils(*platform->system, modules);
  setup::SetupServices services{
      *platform->registry,    *platform->files, *platform->system,
      *platform->spooler,     *platform->shell, *platform->processes,
      *platform->application, system_utils,     *platform->task_scheduler};

  const int exit_code = setup::RunSetupProgram(
      services, *platform->user_interface,
      std::make_unique<setup::WidgetNoticeBalloon>(*platform->application,
                                                   *balloon_windows),
      std::vector<std::string>(argv + 1, argv + argc),
      setup::WidgetFormComponents(*platform->application, *platform->forms,
                                  *notification_area));
  // A balloon still on screen goes with the program.
  widgets::TBalloon::FreeAll();
  return exit_code;
}
