#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32/balloon_windows.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_application.h"
#include "tests/wine/support/screen_capture.h"
#include "tests/wine/support/window_finder.h"
#include "widgets/balloon.h"

namespace plumeta::win32 {
namespace {

using wine_test::Rgb;
using wine_test::ScreenCapture;

constexpr Rgb kBackdrop{255, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kInfoLetter{32, 80, 192};  // the "i" of the INFO picture
constexpr char kBackdropClass[] = "PlumetaTestBackdrop";

Rgb SystemColour(int index) {
  COLORREF colour = ::GetSysColor(index);
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// A window in one colour over the whole screen, behind the balloons, so
// that what shows outside a balloon's shape is known.
class Backdrop {
 public:
  Backdrop() : brush_(::CreateSolidBrush(RGB(255, 0, 255))) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = &::DefWindowProcA;
    window_class.hInstance = ::GetModuleHandleA(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(brush_.Get());
    window_class.lpszClassName = kBackdropClass;
    ::RegisterClassA(&window_class);
    window_ = ::CreateWindowExA(
        0, kBackdropClass, "backdrop", WS_POPUP | WS_VISIBLE, 0, 0,
        ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
        nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(window_);
  }
  ~Backdrop() {
    ::DestroyWindow(window_);
    ::UnregisterClassA(kBackdropClass, ::GetModuleHandleA(nullptr));
  }
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

  HWND window() const { return window_; }

 private:
  ScopedGdiObject brush_;
  HWND window_ = nullptr;
};

class BalloonWindowTest : public ::testing::Test {
 protected:
  // One backdrop for the suite: destroying a window that covers the screen
  // costs Wine about two seconds.
  static void SetUpTestSuite() { backdrop_ = new Backdrop; }
  static void TearDownTestSuite() {
    delete backdrop_;
    backdrop_ = nullptr;
  }
  ~BalloonWindowTest() override { widgets::TBalloon::FreeAll(); }

  // Shows a balloon through the control and lets it paint.
  widgets::TBalloon& Show(int x, int y, widgets::TBalloonPosition position,
                          int duration = 0) {
    widgets::TBalloonControl control(app_, windows_);
    control.SetTitle("Plumeta");
    control.SetText({"Welcome to Plumeta",
                     "Right-click the happy icon to display the menu"});
    control.SetPixelCoordinateX(x);
    control.SetPixelCoordinateY(y);
    control.SetPosition(position);
    control.SetDuration(duration);
    control.ShowBalloon();
    wine_test::PumpUntil([] { return false; }, 600);
    return *widgets::TBalloon::Live().back();
  }

  static HWND Window(widgets::TBalloon& balloon) {
    const platform::Rect& bounds = balloon.Layout().window;
    POINT inside = {
        bounds.left + bounds.Width() / 2,
        bounds.top +
            (balloon.Layout().body.top + balloon.Layout().body.bottom) / 2};
    return ::WindowFromPoint(inside);
  }

  static Backdrop* backdrop_;
  Win32Application app_;
  Win32BalloonWindows windows_;
};

Backdrop* BalloonWindowTest::backdrop_ = nullptr;

TEST_F(BalloonWindowTest, IsDrawnShapedWithItsTipOnThePoint) {
  struct Row {
    widgets::TBalloonPosition position;
    int x;
    int y;
    int away;  // +1: the pointer hangs down from the body, -1: up
  };
  const Row rows[] = {{widgets::blnArrowTopLeft, 700, 500, 1},
                      {widgets::blnArrowBottomRight, 300, 600, -1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "position " << row.position);
    widgets::TBalloon& balloon = Show(row.x, row.y, row.position);
    std::string error;
    std::optional<ScreenCapture> shot = ScreenCapture::Take(&error);
    if (!shot) GTEST_SKIP() << "no screenshot: " << error;
    const platform::BalloonWindowLayout& layout = balloon.Layout();
    const int left = layout.window.left;
    const int top = layout.window.top;

    // The pointer's last pixel touches the point (a polygon region leaves
    // out its right and bottom edges); beyond it shows the backdrop.
    const Rgb tip = row.away > 0 ? shot->At(row.x - 1, row.y - 1)
                                 : shot->At(row.x, row.y + 1);
    EXPECT_EQ(tip, kBlack);
    EXPECT_EQ(shot->At(row.x, row.y + 2 * row.away), kBackdrop);
    // Outline along the body, tooltip colour inside.
    const int middle = left + layout.window.Width() / 2;
    EXPECT_EQ(shot->At(middle, top + layout.body.top), kBlack);
    // A round-rectangle region ends one pixel short of its bottom edge.
    EXPECT_EQ(shot->At(middle, top + layout.body.bottom - 2), kBlack);
    EXPECT_EQ(shot->At(middle, top + layout.body.bottom - 3),
              SystemColour(COLOR_INFOBK));
    EXPECT_EQ(shot->At(left, top + layout.body.top + 10), kBlack);
    EXPECT_EQ(shot->At(middle, top + layout.body.top + 4),
              SystemColour(COLOR_INFOBK));
    // Outside the shape: the rounded corner and the side of the pointer.
    EXPECT_EQ(shot->At(left, top + layout.body.top), kBackdrop);
    EXPECT_EQ(shot->At(left + 3, row.away > 0 ? layout.window.bottom - 3
                                              : layout.window.top + 3),
              kBackdrop);
    // The picture, its background left out.
    const int picture_x = left + layout.picture.x;
    const int picture_y = top + layout.picture.y;
    EXPECT_EQ(shot->At(picture_x + 7, picture_y + 7), kInfoLetter);
    EXPECT_EQ(shot->At(picture_x, picture_y + 15), SystemColour(COLOR_INFOBK));
    widgets::TBalloon::FreeAll();
  }
}

TEST_F(BalloonWindowTest, IsTopmostAndNeverTakesTheFocus) {
  ::SetForegroundWindow(backdrop_->window());
  HWND foreground = ::GetForegroundWindow();
  HWND window = Window(Show(600, 500, widgets::blnArrowTopLeft));
  ASSERT_NE(window, nullptr);
  EXPECT_NE(window, backdrop_->window());
  EXPECT_EQ(::GetForegroundWindow(), foreground);
  EXPECT_TRUE(::IsWindowVisible(window));
  const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  const LONG_PTR ex_style = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex_style & WS_EX_NOACTIVATE);
}

TEST_F(BalloonWindowTest, AClickClosesItAndTheLoopFreesIt) {
  HWND window = Window(Show(600, 500, widgets::blnArrowTopLeft, 20));
  ASSERT_NE(window, nullptr);
  ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  wine_test::PumpUntil([] { return widgets::TBalloon::Live().empty(); }, 2000);
  EXPECT_TRUE(widgets::TBalloon::Live().empty());
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(BalloonWindowTest, ItsTimerClosesItAfterItsDuration) {
  const DWORD start = ::GetTickCount();
  HWND window = Window(Show(600, 500, widgets::blnArrowTopLeft, 1));
  wine_test::PumpUntil([] { return widgets::TBalloon::Live().empty(); }, 5000);
  const DWORD elapsed = ::GetTickCount() - start;
  EXPECT_TRUE(widgets::TBalloon::Live().empty());
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_GE(elapsed, 900u);
  EXPECT_LT(elapsed, 3000u);
}

TEST_F(BalloonWindowTest, SeveralBalloonsAtOnceAndMinimisingShowsOneAgain) {
  HWND first = Window(Show(600, 500, widgets::blnArrowTopLeft));
  HWND second = Window(Show(900, 500, widgets::blnArrowTopLeft));
  ASSERT_NE(first, second);
  ::ShowWindow(first, SW_MINIMIZE);
  wine_test::PumpUntil([] { return false; }, 500);
  EXPECT_FALSE(::IsIconic(first));
  EXPECT_TRUE(::IsWindowVisible(first));
  EXPECT_TRUE(::IsWindowVisible(second));
  EXPECT_EQ(widgets::TBalloon::Live().size(), 2u);
}

TEST(BalloonLabelTest, MeasuresLikeALabel) {
  Win32BalloonWindows windows;
  const platform::Size one = windows.MeasureLabel("Plumeta", false);
  EXPECT_GT(one.width, 20);
  EXPECT_GT(one.height, 8);
  EXPECT_EQ(windows.MeasureLabel("a\r\nb\r\nc", false).height, 3 * one.height);
  EXPECT_GT(windows.MeasureLabel("Plumeta", true).width, one.width);
  // "&" marks an access key and takes no room; "&&" shows one "&".
  EXPECT_EQ(windows.MeasureLabel("&Plumeta", false).width, one.width);
  EXPECT_GT(windows.MeasureLabel("A&&B", false).width,
            windows.MeasureLabel("AB", false).width);
}

}  // namespace
}  // namespace plumeta::win32
