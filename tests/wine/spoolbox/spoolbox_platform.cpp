// The test monitor's CreatePlatform: the Windows programs' composition with
// the spooler's job listing taken from a folder. Linked in place of the
// product's, so plumeta_spoolbox.exe runs monitor/main.cpp unchanged.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/platform_factory.h"
#include "tests/wine/spoolbox/job_folder_spooler.h"

namespace plumeta::platform {

std::unique_ptr<Platform> CreatePlatform() {
  std::unique_ptr<Platform> platform = win32::CreateWin32Platform();
  const std::string folder = spoolbox::JobFolder(
      platform->system->Environment("PLUMETA_SPOOL_FOLDER").value_or(""),
      platform->system->Environment("windir").value_or("C:\\windows"));
  platform->spooler = std::make_unique<spoolbox::JobFolderSpooler>(
      std::move(platform->spooler), folder);
  return platform;
}

}  // namespace plumeta::platform
