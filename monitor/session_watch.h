// Several users of one Windows share the one argument file, and the PDFs go
// to the temporary folder of the user whose monitor wrote it last. So the
// output follows the user in front of the computer: when this monitor's
// session becomes the active one (a switch to it, a log-on, an unlock, a
// remote connection) the main window hears WM_WTSSESSION_CHANGE and the
// monitor writes the file anew. Windows before XP sends no such message.
#ifndef MONITOR_SESSION_WATCH_H_
#define MONITOR_SESSION_WATCH_H_

#include <cstdint>
#include <functional>

#include "platform/application.h"
#include "platform/window.h"

namespace plumeta {

class SessionWatch {
 public:
  // While Terminal Services are still starting at log-on Windows cannot
  // take the request: it is asked again this often, this many times.
  static constexpr std::uint64_t kRetryMs = 1'000;
  static constexpr int kRetries = 120;

  SessionWatch(platform::Window& window, platform::Application& application,
               std::function<void()> on_active);
  ~SessionWatch();
  SessionWatch(const SessionWatch&) = delete;
  SessionWatch& operator=(const SessionWatch&) = delete;

  // Each tick of Timer1: asks again while an earlier request failed.
  void Tick();
  bool watching() const { return watching_; }

 private:
  void Ask();

  platform::Window& window_;
  platform::Application& application_;
  std::function<void()> on_active_;
  int hook_ = 0;
  bool watching_ = false;
  int retries_left_ = kRetries;
  std::uint64_t asked_at_ = 0;
};

}  // namespace plumeta

#endif  // MONITOR_SESSION_WATCH_H_
