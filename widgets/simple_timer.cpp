#include "widgets/simple_timer.h"

#include <utility>

namespace plumeta::widgets {

TSimpleTimer::TSimpleTimer(platform::Application& application)
    : application_(application) {}

TSimpleTimer::~TSimpleTimer() { Stop(true); }

bool TSimpleTimer::Start() {
  if (interval_ == 0) return false;
  if (Running()) Stop(false);
  timer_ = application_.SetTimer(interval_, [this] { Tick(); });
  if (timer_ == 0) {
    enabled_ = false;
    return false;
  }
  enabled_ = true;
  return true;
}

void TSimpleTimer::Stop(bool disable) {
  if (timer_ != 0) {
    application_.KillTimer(timer_);
    timer_ = 0;
  }
  if (disable) enabled_ = false;
}

void TSimpleTimer::SetEnabled(bool enabled) {
  if (enabled) {
    Start();
  } else {
    Stop(true);
  }
}

void TSimpleTimer::SetInterval(std::uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (!enabled_) return;
  if (interval_ > 0) {
    Start();
  } else {
    Stop(false);
  }
}

void TSimpleTimer::SetOnTimer(TimerEvent on_timer) {
  on_timer_ = std::move(on_timer);
  if (!on_timer_ && Running()) Stop(false);
}

void TSimpleTimer::Tick() {
  if (on_timer_) on_timer_(*this);
}

}  // namespace plumeta::widgets
