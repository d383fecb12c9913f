// platform/win32: Win32 calls only, in their ANSI ("A") forms. The Windows
// programs' CreatePlatform, alone in its file: a test build that defines its
// own links without this one.
#include "platform/platform.h"
#include "platform/win32/platform_factory.h"

namespace plumeta::platform {

std::unique_ptr<Platform> CreatePlatform() {
  return win32::CreateWin32Platform();
}

}  // namespace plumeta::platform
