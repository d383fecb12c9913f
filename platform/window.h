// A program's main window (a form), as the portable code drives it. What is
// on it is the program's own business; this is the part other code needs.
#ifndef PLATFORM_WINDOW_H_
#define PLATFORM_WINDOW_H_

#include <cstdint>

#include "platform/application.h"
#include "platform/error_codes.h"

namespace plumeta::platform {

class Window {
 public:
  virtual ~Window() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() = 0;
  virtual bool Minimized() = 0;
  // From minimised back to the normal state.
  virtual void SetNormalState() = 0;
  virtual void SetForeground() = 0;
  // Sees every message of this window before its own procedure does (the
  // tray icon watches WM_SHOWWINDOW); the id removes it again.
  virtual int AddMessageHook(Application::MessageHook hook) = 0;
  virtual void RemoveMessageHook(int id) = 0;
  // PostMessageA to this window (the tray icon posts WM_NULL after its menu
  // closed). A window that cannot receive messages ignores it.
  virtual void PostWindowMessage(std::uint32_t message, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
    (void)message, (void)wparam, (void)lparam;
  }
  // Asks Windows to send this window WM_WTSSESSION_CHANGE for the changes
  // of its own session (WTSRegisterSessionNotification, Windows XP and
  // later), until the window goes. kErrorProcedureNotFound where the system
  // has no such call; while Terminal Services are still starting at log-on
  // Windows answers with another error, and asking later may succeed.
  virtual ErrorCode WatchSessionChanges() { return kErrorProcedureNotFound; }
};

}  // namespace plumeta::platform

#endif  // PLATFORM_WINDOW_H_
