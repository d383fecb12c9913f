// Host stand-in (Linux only).
#include "platform/host/console/balloon_windows.h"

#include <algorithm>

#include "common/text.h"
#include "platform/host/console/console_events.h"

namespace plumeta::host {

namespace {

class HostBalloonWindow : public platform::BalloonWindow {};

}  // namespace

platform::Size FixedLabelSize(const std::string& text, bool bold) {
  int lines = 1;
  int longest = 0;
  int current = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++lines;
      current = 0;
      continue;
    }
    // "&x" shows x; "&&" shows "&".
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    longest = std::max(longest, ++current);
  }
  return {longest * (bold ? kLabelBoldCharWidth : kLabelCharWidth),
          lines * kLabelLineHeight};
}

std::unique_ptr<platform::BalloonWindow> HostBalloonWindows::Show(
    const platform::BalloonWindowLayout& layout, std::function<void()>) {
  const platform::Rect& window = layout.window;
  events_ << EventLine(
                 "balloon",
                 {std::to_string(layout.tip.x), std::to_string(layout.tip.y),
                  std::to_string(window.left), std::to_string(window.top),
                  std::to_string(window.Width()),
                  std::to_string(window.Height()), layout.title, layout.text,
                  AsciiLower(layout.picture_name),
                  std::to_string(layout.duration_seconds)})
          << '\n'
          << std::flush;
  return std::make_unique<HostBalloonWindow>();
}

}  // namespace plumeta::host

namespace plumeta::platform {

std::unique_ptr<BalloonWindows> CreateBalloonWindows() {
  return std::make_unique<host::HostBalloonWindows>();
}

}  // namespace plumeta::platform
