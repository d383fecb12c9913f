// Host stand-in (Linux only). Balloon windows as console events: showing one
// is the event
//   balloon<TAB>tip x<TAB>tip y<TAB>left<TAB>top<TAB>width<TAB>height
//          <TAB>title<TAB>text<TAB>info|error|warning<TAB>duration
// (the text's lines separated by CR LF, escaped as \r\n). Labels are
// measured with a fixed metric instead of a font: every character 6 pixels
// wide (7 in bold), every line 13 pixels high, an access-key "&" no room
// ("&&" is one "&"), so the window rectangles in the events are the same on
// every machine.
#ifndef PLATFORM_HOST_CONSOLE_BALLOON_WINDOWS_H_
#define PLATFORM_HOST_CONSOLE_BALLOON_WINDOWS_H_

#include <iostream>
#include <memory>
#include <string>

#include "platform/balloon_windows.h"

namespace plumeta::host {

inline constexpr int kLabelCharWidth = 6;
inline constexpr int kLabelBoldCharWidth = 7;
inline constexpr int kLabelLineHeight = 13;

// The fixed metric.
platform::Size FixedLabelSize(const std::string& text, bool bold);

class HostBalloonWindows : public platform::BalloonWindows {
 public:
  explicit HostBalloonWindows(std::ostream& events = std::cout)
      : events_(events) {}

  platform::Size MeasureLabel(const std::string& text, bool bold) override {
    return FixedLabelSize(text, bold);
  }
  std::unique_ptr<platform::BalloonWindow> Show(
      const platform::BalloonWindowLayout& layout,
      std::function<void()> on_click) override;

 private:
  std::ostream& events_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_BALLOON_WINDOWS_H_
