// platform/win32: Win32 calls only, in their ANSI ("A") forms. The Windows
// programs' implementations of the platform interfaces.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/files.h"
#include "platform/win32/libraries.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/spooler.h"
#include "platform/win32/system.h"
#include "platform/win32/user_interface.h"

namespace plumeta::platform {

std::unique_ptr<Platform> CreatePlatform() {
  auto platform = std::make_unique<Platform>();
  platform->registry = std::make_unique<win32::Win32Registry>();
  platform->files = std::make_unique<win32::Win32Files>();
  platform->system = std::make_unique<win32::Win32System>();
  platform->libraries = std::make_unique<win32::Win32Libraries>();
  platform->user_interface = std::make_unique<win32::Win32UserInterface>();
  platform->spooler = std::make_unique<win32::Win32Spooler>();
  platform->shell = std::make_unique<win32::Win32Shell>();
  platform->processes = std::make_unique<win32::Win32Processes>();
  return platform;
}

}  // namespace plumeta::platform
