// Host stand-in (Linux only). The application on the console: a message loop
// that runs timers and posted calls and hands the console's input lines out,
// waiting on standard input between them so that timers keep ticking while a
// dialog waits for its answer.
#ifndef PLATFORM_HOST_CONSOLE_APPLICATION_H_
#define PLATFORM_HOST_CONSOLE_APPLICATION_H_

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/application.h"
#include "platform/host/console/console.h"

namespace plumeta::host {

class HostApplication : public platform::Application {
 public:
  HostApplication(Console& console, platform::Size screen);

  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() override { return title_; }
  void Terminate() override { terminated_ = true; }
  bool Terminated() override { return terminated_; }
  void Run() override;
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  void Post(std::function<void()> call) override;
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint64_t TickCount() override;

  // The box has no application window to show: it is always hidden.
  void RestoreApplication() override {}
  bool ApplicationWindowVisible() override { return false; }
  void HideApplicationWindow() override {}
  void ForegroundApplicationWindow() override {}
  int AddApplicationHook(MessageHook hook) override;
  void RemoveApplicationHook(int id) override;

  platform::Size ScreenSize() override { return screen_; }
  // The box has no mouse: the pointer rests at the screen's centre.
  std::optional<platform::Point> CursorPos() override;

  // Runs the message loop until the console gives an answer that `filter`
  // takes (the caller has written the dialog's event), or nullopt when the
  // input has ended.
  std::optional<ConsoleCommand> WaitForAnswer(Console::AnswerFilter filter);

  Console& console() { return console_; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::time_point due;
    std::function<void()> tick;
  };

  void RunDueTimers();
  // How long the loop may sleep before a timer is due, at most `limit`.
  int SleepBudget(std::chrono::milliseconds limit) const;

  Console& console_;
  platform::Size screen_;
  std::string title_;
  bool terminated_ = false;
  std::map<TimerId, Timer> timers_;
  TimerId last_timer_ = 0;
  std::deque<std::function<void()>> posted_;
  std::map<int, MessageHook> hooks_;
  int last_hook_ = 0;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_APPLICATION_H_
