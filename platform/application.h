// The application as the message loop sees it: its title, the quit request,
// pending messages, timers and calls posted for later, and the screen.
// Everything runs on the one user-interface thread.
#ifndef PLATFORM_APPLICATION_H_
#define PLATFORM_APPLICATION_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace plumeta::platform {

class Application {
 public:
  using TimerId = std::uint64_t;  // 0: no timer

  virtual ~Application() = default;

  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() = 0;

  // Asks the message loop to end; it does so when it next gets control.
  virtual void Terminate() = 0;
  virtual bool Terminated() = 0;
  // Runs the message loop until Terminate.
  virtual void Run() = 0;
  // Handles every pending message (timer ticks, posted calls) and returns.
  virtual void ProcessMessages() = 0;
  // Waits until a message arrives or `timeout_ms` have passed, then handles
  // what is pending: a paced wait that keeps timers and menus working.
  virtual void WaitForMessages(std::uint32_t timeout_ms) = 0;
  // Runs `call` from the message loop later, never inside the caller.
  virtual void Post(std::function<void()> call) = 0;

  // A window timer: `tick` runs every `interval_ms` from the message loop
  // (and from modal loops: dialogs, menus). 0 when it could not be set.
  virtual TimerId SetTimer(std::uint32_t interval_ms,
                           std::function<void()> tick) = 0;
  virtual void KillTimer(TimerId timer) = 0;
  // Milliseconds on a steady clock, for deadlines.
  virtual std::uint64_t TickCount() = 0;

  // The application's own hidden top-level window: the one that carries
  // the program's taskbar button and its title, and that the single-instance
  // guard finds.
  virtual void RestoreApplication() = 0;  // un-minimise the application
  virtual bool ApplicationWindowVisible() = 0;
  virtual void HideApplicationWindow() = 0;
  virtual void ForegroundApplicationWindow() = 0;  // SetForegroundWindow
  // Sees every message of that window before its default processing; never
  // handles one. The id removes it again.
  using MessageHook = std::function<void(
      std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam)>;
  virtual int AddApplicationHook(MessageHook hook) = 0;
  virtual void RemoveApplicationHook(int id) = 0;
  // That window's handle (an HWND on Windows), for the calls that name
  // windows: the single-instance guard compares it with the windows it
  // enumerates. 0 where the platform has no such window.
  virtual std::uintptr_t ApplicationWindowHandle() { return 0; }

  // The primary screen in pixels.
  virtual Size ScreenSize() = 0;
  // nullopt when GetCursorPos fails.
  virtual std::optional<Point> CursorPos() = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_APPLICATION_H_
