// A window as the platform names it: an HWND on Windows, a number of the
// host's own on the host. 0 is no window.
#ifndef PLATFORM_WINDOW_HANDLE_H_
#define PLATFORM_WINDOW_HANDLE_H_

#include <cstdint>

namespace plumeta::platform {

using WindowHandle = std::uintptr_t;

}  // namespace plumeta::platform

#endif  // PLATFORM_WINDOW_HANDLE_H_
