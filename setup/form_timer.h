// A form's timer component: enabled or not, an interval, one tick handler,
// ticking from the message loop of the application.
#ifndef SETUP_FORM_TIMER_H_
#define SETUP_FORM_TIMER_H_

#include <cstdint>
#include <functional>

#include "platform/application.h"

namespace plumeta::setup {

class FormTimer {
 public:
  FormTimer(platform::Application& application, std::uint32_t interval_ms,
            std::function<void()> on_timer)
      : application_(application),
        interval_ms_(interval_ms),
        on_timer_(std::move(on_timer)) {}
  ~FormTimer() { Stop(); }
  FormTimer(const FormTimer&) = delete;
  FormTimer& operator=(const FormTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
  }
  std::uint32_t Interval() const { return interval_ms_; }
  void SetInterval(std::uint32_t interval_ms) {
    interval_ms_ = interval_ms;
    Restart();
  }

 private:
  void Stop() {
    if (id_ != 0) application_.KillTimer(id_);
    id_ = 0;
  }
  void Restart() {
    Stop();
    if (enabled_ && interval_ms_ > 0) {
      id_ = application_.SetTimer(interval_ms_, [this] { on_timer_(); });
    }
  }

  platform::Application& application_;
  std::uint32_t interval_ms_;
  std::function<void()> on_timer_;
  bool enabled_ = false;
  platform::Application::TimerId id_ = 0;
};

}  // namespace plumeta::setup

#endif  // SETUP_FORM_TIMER_H_
