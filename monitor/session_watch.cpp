#include "monitor/session_watch.h"

#include "platform/window_messages.h"

namespace plumeta {

SessionWatch::SessionWatch(platform::Window& window,
                           platform::Application& application,
                           std::function<void()> on_active)
    : window_(window),
      application_(application),
      on_active_(std::move(on_active)) {
  hook_ = window_.AddMessageHook(
      [this](std::uint32_t message, std::uintptr_t change, std::intptr_t) {
        if (message != platform::kWmWtsSessionChange) return;
        if (change == platform::kWtsConsoleConnect ||
            change == platform::kWtsRemoteConnect ||
            change == platform::kWtsSessionLogon ||
            change == platform::kWtsSessionUnlock) {
          on_active_();
        }
      });
  Ask();
}

SessionWatch::~SessionWatch() { window_.RemoveMessageHook(hook_); }

void SessionWatch::Ask() {
  asked_at_ = application_.TickCount();
  const platform::ErrorCode answer = window_.WatchSessionChanges();
  watching_ = answer == platform::kSuccess;
  // A system without the call never gets it.
  if (answer == platform::kErrorProcedureNotFound ||
      answer == platform::kErrorModuleNotFound) {
    retries_left_ = 0;
  }
}

void SessionWatch::Tick() {
  if (watching_ || retries_left_ == 0) return;
  if (application_.TickCount() - asked_at_ < kRetryMs) return;
  --retries_left_;
  Ask();
}

}  // namespace plumeta
