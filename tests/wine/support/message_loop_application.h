// A small platform::Application for the wine suite: thread timers and a
// PeekMessage loop, enough to drive the widgets against the real Win32
// windows without the programs' own application.
#ifndef TESTS_WINE_SUPPORT_MESSAGE_LOOP_APPLICATION_H_
#define TESTS_WINE_SUPPORT_MESSAGE_LOOP_APPLICATION_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/application.h"
#include "platform/win32/windows_api.h"

namespace plumeta::wine_test {

class MessageLoopApplication : public platform::Application {
 public:
  MessageLoopApplication();
  ~MessageLoopApplication() override;
  MessageLoopApplication(const MessageLoopApplication&) = delete;
  MessageLoopApplication& operator=(const MessageLoopApplication&) = delete;

  // Handles messages for `milliseconds`, or until `done` says so.
  void RunFor(std::uint32_t milliseconds,
              const std::function<bool()>& done = nullptr);

  // The window ApplicationWindowHandle() names.
  HWND application_window = nullptr;
  int terminate_requests = 0;

  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() override { return title_; }
  void Terminate() override { ++terminate_requests; }
  bool Terminated() override { return terminate_requests > 0; }
  void Run() override {}
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  void Post(std::function<void()> call) override;
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint64_t TickCount() override { return ::GetTickCount(); }
  void RestoreApplication() override {}
  bool ApplicationWindowVisible() override { return false; }
  void HideApplicationWindow() override {}
  void ForegroundApplicationWindow() override {}
  int AddApplicationHook(MessageHook) override { return 0; }
  void RemoveApplicationHook(int) override {}
  std::uintptr_t ApplicationWindowHandle() override {
    return reinterpret_cast<std::uintptr_t>(application_window);
  }
  platform::Size ScreenSize() override;
  std::optional<platform::Point> CursorPos() override;

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

  std::string title_ = "Plumeta";
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timers_;
};

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_MESSAGE_LOOP_APPLICATION_H_
