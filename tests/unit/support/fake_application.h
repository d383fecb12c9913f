// An application whose clock and timers a test drives: timers fire when the
// test says so or when the test moves the clock past their time, posted
// calls wait until it runs them. A paced wait (WaitForMessages) moves the
// clock by its time-out, so a modal wait goes on in fake time; Run goes on
// in fake time too, firing the timers earliest first until the program ends.
// With a `log`, the calls that change something go into it ("app ...").
#ifndef TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_
#define TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeApplication : public platform::Application {
 public:
  struct Timer {
    std::uint32_t interval_ms;
    std::function<void()> tick;
    std::uint64_t next_due = 0;
  };

  FakeApplication() = default;
  explicit FakeApplication(CallLog& call_log) : log(&call_log) {}

  CallLog* log = nullptr;
  std::string title;
  bool terminated = false;
  bool ran = false;
  platform::Size screen{1024, 768};
  std::optional<platform::Point> cursor = platform::Point{};
  bool application_window_visible = false;
  // SetTimer fails (returns 0).
  bool refuse_timers = false;
  std::map<TimerId, Timer> timers;
  std::map<int, MessageHook> hooks;
  std::deque<std::function<void()>> posted;
  std::uint64_t now_ms = 0;
  // Runs at every WaitForMessages, before the clock moves.
  std::function<void()> on_wait;
  int waits = 0;

  // Fires every timer once.
  void FireTimers() {
    auto snapshot = timers;
    for (auto& [id, timer] : snapshot) {
      if (timers.count(id)) timer.tick();
    }
  }
  // Fires every timer of `interval_ms` once (in creation order); how many.
  int FireTimers(std::uint32_t interval_ms) {
    std::vector<TimerId> due;
    for (const auto& [id, timer] : timers) {
      if (timer.interval_ms == interval_ms) due.push_back(id);
    }
    for (TimerId id : due) {
      auto it = timers.find(id);
      if (it != timers.end()) {
        auto tick = it->second.tick;
        tick();
      }
    }
    return static_cast<int>(due.size());
  }
  // The one live timer's interval; 0 when there is none or several.
  std::uint32_t OnlyTimerInterval() const {
    return timers.size() == 1 ? timers.begin()->second.interval_ms : 0;
  }
  // Moves the clock by `ms`, firing each timer whenever its time comes. A
  // tick may itself wait and so move the clock further.
  void Advance(std::uint64_t ms) {
    const std::uint64_t until = now_ms + ms;
    while (FireNext(until)) {
    }
    if (until > now_ms) now_ms = until;
  }
  void RunPosted() {
    while (!posted.empty()) {
      auto call = std::move(posted.front());
      posted.pop_front();
      call();
    }
  }
  // Hands a message to the application's hooks.
  void SendApplicationMessage(std::uint32_t message, std::uintptr_t wparam,
                              std::intptr_t lparam) {
    auto hooks_now = hooks;
    for (auto& [id, hook] : hooks_now) hook(message, wparam, lparam);
  }

  void SetTitle(const std::string& text) override { title = text; }
  std::string Title() override { return title; }
  void Terminate() override {
    Record(log, "app terminate");
    terminated = true;
  }
  bool Terminated() override { return terminated; }
  void Run() override {
    Record(log, "app run");
    ran = true;
    RunPosted();
    // A loop without a timer would never wake; one that never ends stops.
    for (int ticks = 0; !terminated && ticks < 100; ++ticks) {
      if (!FireNext(UINT64_MAX)) return;
      RunPosted();
    }
  }
  void ProcessMessages() override {
    Record(log, "app process-messages");
    RunPosted();
  }
  void WaitForMessages(std::uint32_t timeout_ms) override {
    ++waits;
    if (on_wait) on_wait();
    RunPosted();
    Advance(timeout_ms);
  }
  void Post(std::function<void()> call) override {
    posted.push_back(std::move(call));
  }
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override {
    if (refuse_timers) return 0;
    Record(log, "app set-timer " + std::to_string(interval_ms));
    timers[++last_timer_] = {interval_ms, std::move(tick),
                             now_ms + interval_ms};
    return last_timer_;
  }
  void KillTimer(TimerId timer) override {
    Record(log, "app kill-timer");
    timers.erase(timer);
  }
  std::uint64_t TickCount() override { return now_ms; }
  void RestoreApplication() override { Record(log, "app restore"); }
  bool ApplicationWindowVisible() override {
    return application_window_visible;
  }
  void HideApplicationWindow() override {
    application_window_visible = false;
    Record(log, "app hide-window");
  }
  void ForegroundApplicationWindow() override {
    Record(log, "app foreground-window");
  }
  int AddApplicationHook(MessageHook hook) override {
    hooks[++last_hook_] = std::move(hook);
    return last_hook_;
  }
  void RemoveApplicationHook(int id) override { hooks.erase(id); }
  platform::Size ScreenSize() override { return screen; }
  std::optional<platform::Point> CursorPos() override { return cursor; }

 private:
  // Fires the timer due first, if it is due by `until`.
  bool FireNext(std::uint64_t until) {
    TimerId due = 0;
    std::uint64_t due_at = until;
    for (auto& [id, timer] : timers) {
      if (timer.interval_ms != 0 && timer.next_due <= due_at &&
          (due == 0 || timer.next_due < due_at)) {
        due = id;
        due_at = timer.next_due;
      }
    }
    if (due == 0) return false;
    Timer& timer = timers[due];
    if (due_at > now_ms) now_ms = due_at;
    timer.next_due = now_ms + timer.interval_ms;
    Record(log, "app tick at " + std::to_string(now_ms));
    auto tick = timer.tick;
    tick();
    return true;
  }

  TimerId last_timer_ = 0;
  int last_hook_ = 0;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_
