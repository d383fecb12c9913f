#include "monitor/monitor_program.h"

#include "monitor/main_form.h"

namespace plumeta {

int RunMonitor(platform::Platform& platform,
               std::vector<std::string> arguments) {
  platform.application->SetTitle(kMonitorTitle);
  TMain main(platform, std::move(arguments));
  main.Create();
  if (main.show_main_form()) main.window().SetVisible(true);
  platform.application->Run();
  return 0;
}

}  // namespace plumeta
