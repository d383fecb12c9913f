// platform/win32: Win32 calls only, in their ANSI ("A") forms. The
// application: its hidden application window (class and title the program's
// title: the window that carries the program's taskbar identity and that the
// single-instance guard looks for), the message loop, timers on that window
// (WM_TIMER, so they tick inside every modal loop: message boxes, dialogs,
// menus) and calls posted to it with a registered message.
#ifndef PLATFORM_WIN32_WIN32_APPLICATION_H_
#define PLATFORM_WIN32_WIN32_APPLICATION_H_

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/application.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32Application : public platform::Application {
 public:
  Win32Application();
  ~Win32Application() override;
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  // The first title also names the application window's class; the window
  // is created then (or at first need, named after the program file).
  void SetTitle(const std::string& title) override;
  std::string Title() override { return title_; }
  void Terminate() override;
  bool Terminated() override { return terminated_; }
  void Run() override;
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  void Post(std::function<void()> call) override;
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint64_t TickCount() override;

  void RestoreApplication() override;
  bool ApplicationWindowVisible() override;
  void HideApplicationWindow() override;
  void ForegroundApplicationWindow() override;
  // The hooks see every message of the application window, the shell's
  // "TaskbarCreated" broadcast included.
  int AddApplicationHook(MessageHook hook) override;
  void RemoveApplicationHook(int id) override;
  std::uintptr_t ApplicationWindowHandle() override {
    return reinterpret_cast<std::uintptr_t>(Handle());
  }

  platform::Size ScreenSize() override;
  std::optional<platform::Point> CursorPos() override;

  // The application window, created when missing.
  HWND Handle();
  // The program's main window: a WM_CLOSE to the application window (the
  // taskbar's "Close", a task manager's "End task") closes it instead.
  void SetMainForm(HWND main_form) { main_form_ = main_form; }
  HWND MainForm() const { return main_form_; }

  // The window procedure, an ordinary member a test can call.
  std::optional<LRESULT> WindowProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void CreateApplicationWindow(const std::string& class_name);
  // Lets the shell's "TaskbarCreated" through to the window when the program
  // runs with more rights than the shell.
  void AcceptTaskbarCreated();
  void RunPostedCalls();
  // Translates and dispatches one message; false for WM_QUIT.
  bool Dispatch(const MSG& message);

  std::string title_;
  std::string class_name_;
  OwnedWindow window_;
  HWND main_form_ = nullptr;
  const UINT posted_call_message_;
  bool terminated_ = false;
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  UINT_PTR last_timer_ = 0;
  std::map<int, MessageHook> hooks_;
  int last_hook_ = 0;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WIN32_APPLICATION_H_
