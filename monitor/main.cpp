// The tray monitor's entry, the same on every platform: the platform's
// implementations come from CreatePlatform, which the build links in.
#include <string>
#include <vector>

#include "monitor/monitor_program.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  std::unique_ptr<plumeta::platform::Platform> platform =
      plumeta::platform::CreatePlatform();
  return plumeta::RunMonitor(*platform,
                             std::vector<std::string>(argv + 1, argv + argc));
}
