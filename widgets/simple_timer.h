// TSimpleTimer: a light timer on the application's window timers, with the
// Enabled/Interval/OnTimer rules of the tray icon's animation.
#ifndef WIDGETS_SIMPLE_TIMER_H_
#define WIDGETS_SIMPLE_TIMER_H_

#include <cstdint>
#include <functional>

#include "platform/application.h"

namespace plumeta::widgets {

class TSimpleTimer {
 public:
  using TimerEvent = std::function<void(TSimpleTimer& sender)>;

  explicit TSimpleTimer(platform::Application& application);
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;
  ~TSimpleTimer();

  // Starts the system timer; fails (and stays stopped) when Interval is 0 or
  // the system refuses. A running timer is stopped first.
  bool Start();
  // Stops the system timer; with `disable` also clears Enabled.
  void Stop(bool disable);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  // A new value restarts an enabled timer with it; 0 only stops the system
  // timer, Enabled stays set.
  void SetInterval(std::uint32_t interval);
  // Clearing the handler of a running timer stops the system timer.
  void SetOnTimer(TimerEvent on_timer);

  // True while a system timer is set.
  bool Running() const { return timer_ != 0; }

 private:
  void Tick();

  platform::Application& application_;
  platform::Application::TimerId timer_ = 0;
  bool enabled_ = false;
  std::uint32_t interval_ = 1000;
  TimerEvent on_timer_;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_SIMPLE_TIMER_H_
