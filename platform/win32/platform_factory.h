// platform/win32: Win32 calls only, in their ANSI ("A") forms. The Windows
// programs' composition of the platform, apart from CreatePlatform itself so
// that a test build of a program can take it and replace one part.
#ifndef PLATFORM_WIN32_PLATFORM_FACTORY_H_
#define PLATFORM_WIN32_PLATFORM_FACTORY_H_

#include <memory>

#include "platform/platform.h"

namespace plumeta::win32 {

// Every platform interface implemented with the Win32 API.
std::unique_ptr<platform::Platform> CreateWin32Platform();

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_PLATFORM_FACTORY_H_
