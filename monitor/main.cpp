// The tray monitor's entry, the same on every platform: the platform's
// implementations come from CreatePlatform and the tray's from their
// factories, which the build links in.
#include <memory>
#include <string>
#include <vector>

#include "monitor/monitor_program.h"
#include "platform/balloon_windows.h"
#include "platform/notification_area.h"
#include "platform/platform.h"
#include "platform/top_level_windows.h"

int main(int argc, char** argv) {
  using namespace plumeta;
  std::unique_ptr<platform::Platform> platform = platform::CreatePlatform();
  // The application title comes first: the top-level windows publish it to
  // the other copies of the program.
  platform->application->SetTitle(kMonitorTitle);
  std::unique_ptr<platform::NotificationArea> notification_area =
      platform::CreateNotificationArea();
  std::unique_ptr<platform::BalloonWindows> balloon_windows =
      platform::CreateBalloonWindows();
  std::unique_ptr<platform::TopLevelWindows> top_level_windows =
      platform::CreateTopLevelWindows(*platform->application);
  return RunMonitor(*platform,
                    {*notification_area, *balloon_windows, *top_level_windows},
                    std::vector<std::string>(argv + 1, argv + argc));
}
