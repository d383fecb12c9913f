#include "tests/wine/support/message_loop_application.h"

#include <utility>

namespace plumeta::wine_test {

namespace {

// Thread timers carry no object: the live application answers for them.
MessageLoopApplication* g_application = nullptr;

}  // namespace

MessageLoopApplication::MessageLoopApplication() { g_application = this; }

MessageLoopApplication::~MessageLoopApplication() {
  for (const auto& [id, tick] : timers_) ::KillTimer(nullptr, id);
  g_application = nullptr;
}

void MessageLoopApplication::RunFor(std::uint32_t milliseconds,
                                    const std::function<bool()>& done) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < milliseconds) {
    WaitForMessages(10);
    if (done && done()) return;
  }
}

void MessageLoopApplication::ProcessMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  while (!posted_.empty()) {
    std::function<void()> call = std::move(posted_.front());
    posted_.pop_front();
    call();
  }
}

void MessageLoopApplication::WaitForMessages(std::uint32_t timeout_ms) {
  if (posted_.empty()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms, QS_ALLINPUT);
  }
  ProcessMessages();
}

void MessageLoopApplication::Post(std::function<void()> call) {
  posted_.push_back(std::move(call));
}

platform::Application::TimerId MessageLoopApplication::SetTimer(
    std::uint32_t interval_ms, std::function<void()> tick) {
  UINT_PTR id = ::SetTimer(nullptr, 0, interval_ms, &TimerProc);
  if (id == 0) return 0;
  timers_[id] = std::move(tick);
  return id;
}

void MessageLoopApplication::KillTimer(TimerId timer) {
  ::KillTimer(nullptr, static_cast<UINT_PTR>(timer));
  timers_.erase(static_cast<UINT_PTR>(timer));
}

void CALLBACK MessageLoopApplication::TimerProc(HWND, UINT, UINT_PTR id,
                                                DWORD) {
  if (g_application == nullptr) return;
  auto it = g_application->timers_.find(id);
  if (it == g_application->timers_.end()) return;
  std::function<void()> tick = it->second;
  tick();
}

platform::Size MessageLoopApplication::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::optional<platform::Point> MessageLoopApplication::CursorPos() {
  POINT point;
  if (!::GetCursorPos(&point)) return std::nullopt;
  return platform::Point{point.x, point.y};
}

}  // namespace plumeta::wine_test
