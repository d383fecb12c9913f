// What the conversion flow needs of the tray presence: the icon's animation,
// the main window shown and hidden through the icon, and the balloon.
#ifndef MONITOR_CONVERSION_TRAY_H_
#define MONITOR_CONVERSION_TRAY_H_

#include <string>
#include <vector>

namespace plumeta {

// Where the monitor's balloons point, from the screen's bottom right corner:
// at the notification area.
inline constexpr int kBalloonFromRight = 90;
inline constexpr int kBalloonFromBottom = 25;

class ConversionTray {
 public:
  virtual ~ConversionTray() = default;
  // CycleIcons: true starts the animation at icon 0, false stops it.
  virtual void SetCycleIcons(bool cycle) = 0;
  virtual void SetIconIndex(int index) = 0;
  // Shows the main window, brings the application to the front and gives
  // the main window the input focus.
  virtual void RevealMainWindow() = 0;
  virtual void ConcealMainWindow() = 0;
  // The balloon's tip in screen pixels, then the balloon itself.
  virtual void PlaceBalloon(int x, int y) = 0;
  virtual void ShowBalloon() = 0;
  // The balloon with these lines for once, in place of its text.
  virtual void ShowNotice(const std::vector<std::string>& lines) = 0;
};

}  // namespace plumeta

#endif  // MONITOR_CONVERSION_TRAY_H_
