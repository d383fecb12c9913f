// platform/win32: Win32 calls only, in their ANSI ("A") forms. The Windows
// programs' implementations of the platform interfaces.
#include "platform/win32/platform_factory.h"

#include <memory>

#include "platform/win32/files.h"
#include "platform/win32/libraries.h"
#include "platform/win32/locale.h"
#include "platform/win32/processes.h"
#include "platform/win32/profile.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/spooler.h"
#include "platform/win32/system.h"
#include "platform/win32/task_scheduler.h"
#include "platform/win32/user_interface.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_random.h"
#include "platform/win32/worker_threads.h"

namespace plumeta::win32 {

std::unique_ptr<platform::Platform> CreateWin32Platform() {
  auto platform = std::make_unique<platform::Platform>();
  platform->registry = std::make_unique<Win32Registry>();
  platform->files = std::make_unique<Win32Files>();
  platform->system = std::make_unique<Win32System>();
  platform->libraries = std::make_unique<Win32Libraries>();
  auto user_interface = std::make_unique<Win32UserInterface>();
  auto application = std::make_unique<Win32Application>();
  platform->dialogs =
      std::make_unique<Win32Dialogs>(*application, *user_interface);
  platform->forms = std::make_unique<Win32Forms>(*application, *user_interface);
  platform->random = std::make_unique<Win32Random>();
  platform->threads = std::make_unique<Win32WorkerThreads>();
  // Shell requests owned by the main window get the program's main form.
  platform->shell = std::make_unique<Win32Shell>(
      [app = application.get()] { return app->MainForm(); });
  platform->user_interface = std::move(user_interface);
  platform->application = std::move(application);
  platform->spooler = std::make_unique<Win32Spooler>();
  platform->processes = std::make_unique<Win32Processes>();
  platform->locale = std::make_unique<Win32Locale>();
  platform->profile = std::make_unique<Win32Profile>();
  platform->task_scheduler = std::make_unique<Win32TaskScheduler>();
  return platform;
}

}  // namespace plumeta::win32
