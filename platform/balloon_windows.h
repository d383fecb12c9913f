// Balloon windows: borderless notices shaped like a speech balloon, laid out
// by the program and shown by the platform. A balloon is topmost, never
// activated and has no taskbar button; it is drawn with the system's tooltip
// background, a 1-pixel black outline along its shape, a picture, a bold
// title and the text in Tahoma 8 points.
#ifndef PLATFORM_BALLOON_WINDOWS_H_
#define PLATFORM_BALLOON_WINDOWS_H_

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/geometry.h"

namespace plumeta::platform {

// Everything a balloon window shows, positions in window coordinates unless
// said otherwise.
struct BalloonWindowLayout {
  Rect window;  // screen coordinates
  Point tip;    // screen coordinates: the point the pointer touches
  Rect body;    // the rounded rectangle, corner ellipses of 7 x 7
  std::array<Point, 3> pointer;  // the triangle
  Point picture;
  std::string picture_name;  // a 16x16 bitmap resource: "INFO", ...
  Point title_position;
  std::string title;  // "&" marks an access key, as in a label
  Point text_position;
  std::string text;          // lines separated by CR LF; "&" as in the title
  int duration_seconds = 0;  // shown to the console only; 0: until clicked
};

// One balloon on screen; destroying the object takes it away.
class BalloonWindow {
 public:
  virtual ~BalloonWindow() = default;
};

class BalloonWindows {
 public:
  virtual ~BalloonWindows() = default;
  // The size a label takes for `text` in Tahoma 8 points, regular or bold:
  // every line (CR LF, CR or LF ends one) with access-key ampersands removed
  // ("&&" shows one "&"); height = lines x line height.
  virtual Size MeasureLabel(const std::string& text, bool bold) = 0;
  // Shows a balloon without activating it. `on_click` runs (from the message
  // loop) when the user clicks anywhere on it; the balloon stays until the
  // object is destroyed. Null when the window could not be created.
  virtual std::unique_ptr<BalloonWindow> Show(
      const BalloonWindowLayout& layout, std::function<void()> on_click) = 0;
};

// The implementation for the platform being built.
std::unique_ptr<BalloonWindows> CreateBalloonWindows();

}  // namespace plumeta::platform

#endif  // PLATFORM_BALLOON_WINDOWS_H_
