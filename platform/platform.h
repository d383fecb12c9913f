// The composition root's one call: the implementations of every platform
// interface for the platform this program was built for. Defined once in
// platform/win32/ and once in platform/host/; the build links one of them.
#ifndef PLATFORM_PLATFORM_H_
#define PLATFORM_PLATFORM_H_

#include <memory>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/form.h"
#include "platform/libraries.h"
#include "platform/locale.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/random.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/task_scheduler.h"
#include "platform/user_interface.h"
#include "platform/worker_threads.h"

namespace plumeta::platform {

struct Platform {
  std::unique_ptr<Registry> registry;
  std::unique_ptr<Files> files;
  std::unique_ptr<System> system;
  std::unique_ptr<Libraries> libraries;
  std::unique_ptr<UserInterface> user_interface;
  // The message loop, timers and the application's hidden window.
  std::unique_ptr<Application> application;
  // The text-input and save dialogs and the popup menu.
  std::unique_ptr<Dialogs> dialogs;
  // The forms' windows; the first one is the program's main window.
  std::unique_ptr<Forms> forms;
  std::unique_ptr<Random> random;
  std::unique_ptr<Spooler> spooler;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<Processes> processes;
  // The user's number and date formats.
  std::unique_ptr<Locale> locale;
  // WIN.INI and its change broadcast.
  std::unique_ptr<Profile> profile;
  // The scheduled task that starts the tray monitor at log-on.
  std::unique_ptr<TaskScheduler> task_scheduler;
  // Work that must not stop the message loop.
  std::unique_ptr<WorkerThreads> threads;
};

std::unique_ptr<Platform> CreatePlatform();

}  // namespace plumeta::platform

#endif  // PLATFORM_PLATFORM_H_
