// Host stand-in (Linux only).
#include "platform/host/console/application.h"

#include <algorithm>
#include <vector>

namespace plumeta::host {
namespace {

// The longest the idle loop sleeps in one go; it wakes for input at once.
constexpr std::chrono::milliseconds kIdleWait{1000};

}  // namespace

HostApplication::HostApplication(Console& console, platform::Size screen)
    : console_(console), screen_(screen) {}

void HostApplication::Run() {
  while (!terminated_) WaitForMessages(kIdleWait.count());
}

void HostApplication::ProcessMessages() {
  RunDueTimers();
  // The calls posted so far; calls they post wait for the next round.
  std::deque<std::function<void()>> calls;
  calls.swap(posted_);
  for (auto& call : calls) call();
  // Once the program has asked to end, commands stay unread, as window
  // messages do after the quit request; a dialog still open then (the error
  // box of a failed store on the way out) takes its answer, as a modal box on
  // Windows does.
  while ((!terminated_ || console_.DialogOpen()) && console_.DispatchOne()) {
  }
}

void HostApplication::WaitForMessages(std::uint32_t timeout_ms) {
  const int budget =
      posted_.empty() ? SleepBudget(std::chrono::milliseconds(timeout_ms)) : 0;
  console_.Poll(budget);
  ProcessMessages();
}

int HostApplication::SleepBudget(std::chrono::milliseconds limit) const {
  const Clock::time_point now = Clock::now();
  Clock::time_point wake = now + limit;
  for (const auto& [id, timer] : timers_) wake = std::min(wake, timer.due);
  if (wake <= now) return 0;
  // Rounded up, so the loop does not wake a moment before the timer is due.
  return static_cast<int>(
      std::chrono::ceil<std::chrono::milliseconds>(wake - now).count());
}

void HostApplication::Post(std::function<void()> call) {
  posted_.push_back(std::move(call));
}

platform::Application::TimerId HostApplication::SetTimer(
    std::uint32_t interval_ms, std::function<void()> tick) {
  // A timer of 0 ms ticks as often as the loop runs, as on Windows (which
  // makes it at least 10 ms).
  const auto interval =
      std::chrono::milliseconds(std::max<std::uint32_t>(interval_ms, 10));
  timers_[++last_timer_] = {interval, Clock::now() + interval, std::move(tick)};
  return last_timer_;
}

void HostApplication::KillTimer(TimerId timer) { timers_.erase(timer); }

std::uint64_t HostApplication::TickCount() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(
          Clock::now().time_since_epoch())
          .count());
}

// Each due timer ticks once, however late it is, as WM_TIMER does; a tick
// that opens a dialog lets the other timers tick inside it.
void HostApplication::RunDueTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<TimerId> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.due <= now) due.push_back(id);
  }
  for (TimerId id : due) {
    auto found = timers_.find(id);
    if (found == timers_.end()) continue;  // killed by an earlier tick
    found->second.due = now + found->second.interval;
    std::function<void()> tick = found->second.tick;
    tick();
  }
}

int HostApplication::AddApplicationHook(MessageHook hook) {
  hooks_[++last_hook_] = std::move(hook);
  return last_hook_;
}

void HostApplication::RemoveApplicationHook(int id) { hooks_.erase(id); }

std::optional<platform::Point> HostApplication::CursorPos() {
  return platform::Point{screen_.width / 2, screen_.height / 2};
}

std::optional<ConsoleCommand> HostApplication::WaitForAnswer(
    Console::AnswerFilter filter) {
  Console::Dialog dialog(console_, std::move(filter));
  while (!dialog.answer() && !console_.Exhausted()) {
    WaitForMessages(kIdleWait.count());
  }
  return dialog.answer();
}

}  // namespace plumeta::host
