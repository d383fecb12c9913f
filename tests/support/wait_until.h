// Polling for a condition another process or thread brings about, on Linux
// and on Windows alike.
#ifndef TESTS_SUPPORT_WAIT_UNTIL_H_
#define TESTS_SUPPORT_WAIT_UNTIL_H_

#include <chrono>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <thread>
#endif

namespace plumeta::testing {

// Looks at `done` every `poll` until it holds (true) or `timeout` has passed
// (false). It always looks once more after the last pause.
template <typename Done>
bool WaitUntil(Done&& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5),
               std::chrono::milliseconds poll = std::chrono::milliseconds(20)) {
#ifdef _WIN32
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (::GetTickCount() - start >= static_cast<DWORD>(timeout.count())) {
      return false;
    }
    ::Sleep(static_cast<DWORD>(poll.count()));
  }
#else
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(poll);
  }
#endif
}

}  // namespace plumeta::testing

#endif  // TESTS_SUPPORT_WAIT_UNTIL_H_
