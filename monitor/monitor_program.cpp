#include "monitor/monitor_program.h"

namespace plumeta {

int RunMonitor(platform::Platform& platform, TrayPlatform tray,
               std::vector<std::string> arguments) {
  platform.application->SetTitle(kMonitorTitle);
  TMain main(platform, tray, std::move(arguments));
  main.Create();
  if (main.show_main_form()) main.window().SetVisible(true);
  platform.application->Run();
  // A balloon still on screen goes with the program, before its window.
  widgets::TBalloon::FreeAll();
  return 0;
}

}  // namespace plumeta
