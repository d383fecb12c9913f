// An application whose clock and timers a test drives: timers fire when the
// test says so, posted calls wait until it runs them.
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
  };

  std::string title;
  bool terminated = false;
  platform::Size screen{1024, 768};
  std::map<TimerId, Timer> timers;
  std::deque<std::function<void()>> posted;

  // Fires every timer once.
  void FireTimers() {
    auto snapshot = timers;
    for (auto& [id, timer] : snapshot) {
      if (timers.count(id)) timer.tick();
    }
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
  void WaitForMessages(std::uint32_t) override { RunPosted(); }
  void Post(std::function<void()> call) override {
    posted.push_back(std::move(call));
  }
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override {
    timers[++last_timer_] = {interval_ms, std::move(tick)};
    return last_timer_;
  }
  void KillTimer(TimerId timer) override { timers.erase(timer); }
  std::uint64_t TickCount() override { return 0; }
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
