// An application whose clock and timers a test drives: timers fire when the
// test says so or when the test moves the clock past their time, posted
// calls wait until it runs them. A paced wait (WaitForMessages) moves the
// clock by its time-out, so a modal wait goes on in fake time.
#ifndef TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_
#define TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/application.h"

namespace plumeta::testing {

class FakeApplication : public platform::Application {
 public:
  struct Timer {
    std::uint32_t interval_ms;
    std::function<void()> tick;
    std::uint64_t next_due = 0;
  };

  std::string title;
  bool terminated = false;
  platform::Size screen{1024, 768};
  std::map<TimerId, Timer> timers;
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
  // Moves the clock by `ms`, firing each timer whenever its time comes. A
  // tick may itself wait and so move the clock further.
  void Advance(std::uint64_t ms) {
    const std::uint64_t until = now_ms + ms;
    for (;;) {
      TimerId due = 0;
      std::uint64_t due_at = until + 1;
      for (auto& [id, timer] : timers) {
        if (timer.interval_ms != 0 && timer.next_due < due_at) {
          due = id;
          due_at = timer.next_due;
        }
      }
      if (due == 0) break;
      Timer& timer = timers[due];
      if (due_at > now_ms) now_ms = due_at;
      timer.next_due = now_ms + timer.interval_ms;
      auto tick = timer.tick;
      tick();
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

  void SetTitle(const std::string& text) override { title = text; }
  std::string Title() override { return title; }
  void Terminate() override { terminated = true; }
  bool Terminated() override { return terminated; }
  void Run() override { RunPosted(); }
  void ProcessMessages() override { RunPosted(); }
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
    timers[++last_timer_] = {interval_ms, std::move(tick),
                             now_ms + interval_ms};
    return last_timer_;
  }
  void KillTimer(TimerId timer) override { timers.erase(timer); }
  std::uint64_t TickCount() override { return now_ms; }
  void RestoreApplication() override {}
  bool ApplicationWindowVisible() override { return false; }
  void HideApplicationWindow() override {}
  void ForegroundApplicationWindow() override {}
  int AddApplicationHook(MessageHook) override { return 0; }
  void RemoveApplicationHook(int) override {}
  platform::Size ScreenSize() override { return screen; }
  std::optional<platform::Point> CursorPos() override {
    return platform::Point{};
  }

 private:
  TimerId last_timer_ = 0;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_APPLICATION_H_
