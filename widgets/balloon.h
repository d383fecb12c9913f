// Balloon notices: TBalloonControl holds the settings on a form and makes a
// new TBalloon for every ShowBalloon; a TBalloon is one balloon window, with
// its pointer's tip on a screen point, that closes itself after its duration
// or when clicked.
#ifndef WIDGETS_BALLOON_H_
#define WIDGETS_BALLOON_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/balloon_windows.h"
#include "platform/geometry.h"
#include "platform/window.h"
#include "widgets/component.h"

namespace plumeta::widgets {

// Where the balloon's body lies relative to its pointer's tip.
enum TBalloonPosition : int {
  blnArrowTopLeft = 0,      // above and to the left
  blnArrowTopRight = 1,     // above and to the right
  blnArrowBottomLeft = 2,   // below and to the left
  blnArrowBottomRight = 3,  // below and to the right
};
// The picture; any other value shows the information picture.
enum TBalloonType : int { blnInfo = 0, blnError = 1, blnWarning = 2 };
// Kept with the control; they do not move the balloon.
enum TBalloonHoriz : int { blnLeft = 0, blnMiddle = 1, blnRight = 2 };
enum TBalloonVert : int { blnTop = 0, blnCenter = 1, blnBottom = 2 };

// The balloon's geometry, from the tip (x, y) and the sizes of its two
// labels: the window, its shape, and where the picture and labels go.
platform::BalloonWindowLayout LayOutBalloon(int x, int y,
                                            TBalloonPosition position,
                                            platform::Size title_size,
                                            platform::Size text_size);
// "INFO", "ERROR" or "WARNING".
std::string BalloonPictureName(TBalloonType type);
// The lines joined with CR LF, without leading and trailing characters with
// codes up to 32.
std::string JoinBalloonText(const std::vector<std::string>& lines);
// What a label measures for its caption: an empty caption (or a lone "&")
// still takes the room of one blank.
std::string LabelMeasuringText(const std::string& caption);

class TBalloon {
 public:
  // A new balloon, owned by the set of live balloons: it frees itself (from
  // the message loop) once it has closed.
  static TBalloon& Create(platform::Application& application,
                          platform::BalloonWindows& windows);
  // The balloons not yet freed, oldest first.
  static std::vector<TBalloon*> Live();
  // Frees every balloon at once, for the end of the program (or of a test).
  static void FreeAll();

  TBalloon(const TBalloon&) = delete;
  TBalloon& operator=(const TBalloon&) = delete;
  ~TBalloon();

  // Lays the balloon out with its tip on (x, y), shows it without taking
  // the focus and starts its timer: `duration` seconds, 0 (or less) for a
  // balloon that stays until clicked.
  void ShowAt(int x, int y, const std::string& title, const std::string& text,
              TBalloonType type, int duration, TBalloonPosition position);
  // Stops the timer and asks the message loop to free the balloon, which
  // takes its window away; what the timer and a click do.
  void Close();

  bool Closed() const { return closed_; }
  const platform::BalloonWindowLayout& Layout() const { return layout_; }

 private:
  TBalloon(platform::Application& application,
           platform::BalloonWindows& windows, std::uint64_t serial);

  platform::Application& application_;
  platform::BalloonWindows& windows_;
  std::uint64_t serial_;
  platform::BalloonWindowLayout layout_;
  std::unique_ptr<platform::BalloonWindow> window_;
  platform::Application::TimerId timer_ = 0;
  bool closed_ = false;
};

class TBalloonControl : public TComponent {
 public:
  TBalloonControl(platform::Application& application,
                  platform::BalloonWindows& windows);

  const std::vector<std::string>& Text() const { return text_; }
  void SetText(std::vector<std::string> lines) { text_ = std::move(lines); }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  int Duration() const { return duration_; }
  void SetDuration(int seconds) { duration_ = seconds; }
  int PixelCoordinateX() const { return x_; }
  void SetPixelCoordinateX(int x) { x_ = x; }
  int PixelCoordinateY() const { return y_; }
  void SetPixelCoordinateY(int y) { y_ = y; }
  TBalloonPosition Position() const { return position_; }
  void SetPosition(TBalloonPosition position) { position_ = position; }
  TBalloonType BalloonType() const { return type_; }
  void SetBalloonType(TBalloonType type) { type_ = type; }
  TBalloonHoriz Horizontal() const { return horizontal_; }
  void SetHorizontal(TBalloonHoriz horizontal) { horizontal_ = horizontal; }
  TBalloonVert Vertical() const { return vertical_; }
  void SetVertical(TBalloonVert vertical) { vertical_ = vertical; }
  platform::Window* Control() const { return control_; }
  void SetControl(platform::Window* control) { control_ = control; }

  // Shows a new balloon with the current settings and returns at once;
  // balloons already on screen stay.
  void ShowBalloon();

 private:
  platform::Application& application_;
  platform::BalloonWindows& windows_;
  std::vector<std::string> text_;
  std::string title_;
  int duration_ = 0;
  int x_ = 0;
  int y_ = 0;
  TBalloonPosition position_ = blnArrowTopLeft;
  TBalloonType type_ = blnInfo;
  TBalloonHoriz horizontal_ = blnLeft;
  TBalloonVert vertical_ = blnTop;
  platform::Window* control_ = nullptr;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_BALLOON_H_
