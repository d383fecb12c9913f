#include "widgets/balloon.h"

#include <algorithm>
#include <limits>
#include <list>
#include <utility>

namespace plumeta::widgets {

namespace {

// Offsets inside the balloon, in pixels.
constexpr int kArrow = 20;  // the pointer's height and its inset
constexpr int kTitleLeft = 34;
constexpr int kTitleTop = 12;
constexpr int kTextLeft = 10;
constexpr int kPictureLeft = 10;
constexpr int kPictureTop = 10;
constexpr int kTextGap = 8;  // between the title and the text
constexpr int kBottomMargin = 10;
constexpr int kRightMargin = 10;

bool BodyBelowTip(TBalloonPosition position) {
  return position == blnArrowBottomLeft || position == blnArrowBottomRight;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

struct LiveBalloon {
  std::uint64_t serial;
  std::unique_ptr<TBalloon> balloon;
};

std::list<LiveBalloon>& LiveBalloons() {
  static std::list<LiveBalloon> balloons;
  return balloons;
}

std::uint64_t g_next_serial = 1;

}  // namespace

platform::BalloonWindowLayout LayOutBalloon(int x, int y,
                                            TBalloonPosition position,
                                            platform::Size title_size,
                                            platform::Size text_size) {
  platform::BalloonWindowLayout layout;
  const bool below = BodyBelowTip(position);
  const int shift = below ? kArrow : 0;

  layout.title_position = {kTitleLeft, kTitleTop + shift};
  layout.text_position = {
      kTextLeft, layout.title_position.y + title_size.height + kTextGap};
  layout.picture = {kPictureLeft, kPictureTop + shift};

  int height = layout.text_position.y + text_size.height + kBottomMargin;
  if (!below) height += kArrow;
  const int width =
      std::max(kTitleLeft + title_size.width, kTextLeft + text_size.width) +
      kRightMargin;

  const int w = width;
  const int h = height;
  int left = 0;
  int top = 0;
  switch (position) {
    case blnArrowTopRight:
      left = x - kArrow;
      top = y - h;
      layout.body = {0, 0, w, h - 18};
      layout.pointer = {{{20, h - 20}, {20, h}, {40, h - 20}}};
      break;
    case blnArrowBottomLeft:
      left = x - w + kArrow;
      top = y - 2;
      layout.body = {0, 22, w, h};
      layout.pointer = {{{w - 20, 2}, {w - 20, 22}, {w - 40, 22}}};
      break;
    case blnArrowBottomRight:
      left = x - kArrow;
      top = y - 2;
      layout.body = {0, 22, w, h};
      layout.pointer = {{{20, 2}, {20, 22}, {40, 22}}};
      break;
    case blnArrowTopLeft:
    default:
      left = x - w + kArrow;
      top = y - h;
      layout.body = {0, 0, w, h - 18};
      layout.pointer = {{{w - 40, h - 20}, {w - 20, h}, {w - 20, h - 20}}};
      break;
  }
  layout.window = {left, top, left + w, top + h};
  layout.tip = {x, y};
  return layout;
}

std::string BalloonPictureName(TBalloonType type) {
  switch (type) {
    case blnError:
      return "ERROR";
    case blnWarning:
      return "WARNING";
    default:
      return "INFO";
  }
}

std::string JoinBalloonText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    text += "\r\n";
  }
  auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
  return first < last ? std::string(first, last) : std::string();
}

std::string LabelMeasuringText(const std::string& caption) {
  if (caption.empty() || caption == "&") return caption + " ";
  return caption;
}

// ---------------------------------------------------------------------------
// TBalloon

TBalloon& TBalloon::Create(platform::Application& application,
                           platform::BalloonWindows& windows) {
  std::uint64_t serial = g_next_serial++;
  LiveBalloons().push_back({serial, std::unique_ptr<TBalloon>(new TBalloon(
                                        application, windows, serial))});
  return *LiveBalloons().back().balloon;
}

std::vector<TBalloon*> TBalloon::Live() {
  std::vector<TBalloon*> live;
  for (const LiveBalloon& entry : LiveBalloons()) {
    live.push_back(entry.balloon.get());
  }
  return live;
}

void TBalloon::FreeAll() {
  std::list<LiveBalloon> balloons;
  balloons.swap(LiveBalloons());
  for (LiveBalloon& entry : balloons) {
    TBalloon& balloon = *entry.balloon;
    if (balloon.timer_ != 0) balloon.application_.KillTimer(balloon.timer_);
    balloon.timer_ = 0;
  }
}

TBalloon::TBalloon(platform::Application& application,
                   platform::BalloonWindows& windows, std::uint64_t serial)
    : application_(application), windows_(windows), serial_(serial) {}

// Only the window goes here: at the end of the program the application may
// be gone already; Close and FreeAll stop the timers.
TBalloon::~TBalloon() = default;

void TBalloon::ShowAt(int x, int y, const std::string& title,
                      const std::string& text, TBalloonType type, int duration,
                      TBalloonPosition position) {
  platform::Size title_size =
      windows_.MeasureLabel(LabelMeasuringText(title), true);
  platform::Size text_size =
      windows_.MeasureLabel(LabelMeasuringText(text), false);
  layout_ = LayOutBalloon(x, y, position, title_size, text_size);
  layout_.picture_name = BalloonPictureName(type);
  layout_.title = title;
  layout_.text = text;
  layout_.duration_seconds = duration;

  window_ = windows_.Show(layout_, [this] { Close(); });
  if (duration > 0) {
    constexpr int kMaxSeconds = std::numeric_limits<std::int32_t>::max() / 1000;
    const auto interval =
        static_cast<std::uint32_t>(std::min(duration, kMaxSeconds)) * 1000u;
    timer_ = application_.SetTimer(interval, [this] { Close(); });
  }
}

void TBalloon::Close() {
  if (closed_) return;
  closed_ = true;
  if (timer_ != 0) {
    application_.KillTimer(timer_);
    timer_ = 0;
  }
  // The window goes with the balloon, later: never inside the click or tick
  // that closed it.
  std::uint64_t serial = serial_;
  application_.Post([serial] {
    LiveBalloons().remove_if(
        [serial](const LiveBalloon& entry) { return entry.serial == serial; });
  });
}

// ---------------------------------------------------------------------------
// TBalloonControl

TBalloonControl::TBalloonControl(platform::Application& application,
                                 platform::BalloonWindows& windows)
    : application_(application), windows_(windows) {}

void TBalloonControl::ShowBalloon() {
  TBalloon::Create(application_, windows_)
      .ShowAt(x_, y_, title_, JoinBalloonText(text_), type_, duration_,
              position_);
}

}  // namespace plumeta::widgets
