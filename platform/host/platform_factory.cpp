// Host stand-in (Linux only). The host programs' platform: every interface
// over the box named by PLUMETA_BOX (box.h). A program without a usable box
// cannot run, so it stops here with the reason on stderr.
#include <cstdio>
#include <cstdlib>

#include "platform/host/box/box.h"
#include "platform/host/box/box_process.h"
#include "platform/host/console/application.h"
#include "platform/host/console/console.h"
#include "platform/host/console/console_user_interface.h"
#include "platform/host/console/dialogs.h"
#include "platform/host/console/forms.h"
#include "platform/host/console/shell.h"
#include "platform/host/kernel/files.h"
#include "platform/host/kernel/libraries.h"
#include "platform/host/kernel/locale.h"
#include "platform/host/kernel/processes.h"
#include "platform/host/kernel/profile.h"
#include "platform/host/kernel/random.h"
#include "platform/host/kernel/system.h"
#include "platform/host/kernel/task_scheduler.h"
#include "platform/host/kernel/worker_threads.h"
#include "platform/host/print/box_gsbridge.h"
#include "platform/host/print/spooler.h"
#include "platform/host/registry/store_registry.h"
#include "platform/platform.h"

namespace plumeta::platform {

std::unique_ptr<Platform> CreatePlatform() {
  std::string folder = host::BoxFolder();
  std::string error;
  std::shared_ptr<host::BoxProcess> process =
      host::BoxProcess::Open(folder, &error);
  if (!process) {
    std::fprintf(stderr, "%s: %s\n", host::ProgramFileName().c_str(),
                 error.c_str());
    std::exit(EXIT_FAILURE);
  }
  auto platform = std::make_unique<Platform>();
  platform->registry = std::make_unique<host::FileRegistry>(
      host::RegistryFolder(folder), process->other_user());
  platform->files = std::make_unique<host::HostFiles>(process);
  platform->system = std::make_unique<host::HostSystem>(process);
  host::UseBoxForGsBridge(process);
  platform->libraries =
      std::make_unique<host::HostLibraries>(process, host::FindGsBridgeEntry);
  // One console for the whole program: the user interface's events and the
  // one reader of standard input.
  host::Console& console = host::Console::Instance();
  auto application = std::make_unique<host::HostApplication>(
      console,
      Size{process->facts().screen_width, process->facts().screen_height});
  platform->user_interface =
      std::make_unique<host::ConsoleUserInterface>(*application);
  platform->dialogs =
      std::make_unique<host::HostDialogs>(*application, process);
  // Windows XP and later tell a window of its session's changes.
  const platform::VersionInfo& version = process->facts().version;
  platform->forms = std::make_unique<host::HostForms>(
      console,
      version.platform == platform::PlatformId::kNt &&
          (version.major > 5 || (version.major == 5 && version.minor >= 1)));
  platform->random = std::make_unique<host::HostRandom>();
  platform->threads = std::make_unique<host::HostWorkerThreads>();
  platform->application = std::move(application);
  platform->spooler = std::make_unique<host::HostSpooler>(
      std::make_unique<host::FileRegistry>(host::RegistryFolder(folder)),
      process
          ->LinuxPath(process->facts().windows_folder +
                      "\\system32\\spool\\PRINTERS")
          .value_or(folder + "/spool"),
      host::CallerEnvironment(process->facts().version));
  platform->shell = std::make_unique<host::HostShell>(process);
  platform->processes =
      std::make_unique<host::HostProcesses>(folder, host::ProgramFileName());
  platform->locale = std::make_unique<host::HostLocale>(
      process->facts().decimal_separator, process->facts().short_date,
      process->facts().long_time, process->facts().code_page);
  platform->profile = std::make_unique<host::HostProfile>(process);
  platform->task_scheduler = std::make_unique<host::HostTaskScheduler>(process);
  return platform;
}

}  // namespace plumeta::platform
