// Not a test: the picture of a balloon pointing at the tray icon for the
// README, made by resources/screenshots.sh. Runs only when asked for by name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/balloon_windows.h"
#include "platform/win32/notification_area.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_application.h"
#include "tests/wine/support/screen_capture.h"
#include "tests/wine/support/window_finder.h"
#include "widgets/balloon.h"
#include "widgets/tray_icon.h"

namespace plumeta::win32 {
namespace {

constexpr char kDesktopClass[] = "PlumetaScreenshotDesktop";
constexpr int kShotWidth = 440;
constexpr int kShotHeight = 170;

std::string Geometry(const RECT& rect) {
  return std::to_string(rect.right - rect.left) + "x" +
         std::to_string(rect.bottom - rect.top) + "+" +
         std::to_string(rect.left) + "+" + std::to_string(rect.top);
}

// PLUMETA_SCREENSHOT names the PNG to write (a Linux path).
//
// Wine draws a shaped window black while its standalone tray window (an
// unmanaged window of another process) lies over a window of this program,
// so the picture is put together from two screenshots of the same screen:
// the tray with the icon, then the balloon once the tray has gone, just
// below where the tray was.
TEST(Screenshot, DISABLED_BalloonAndTrayIcon) {
  const char* target = std::getenv("PLUMETA_SCREENSHOT");
  if (target == nullptr || *target == '\0') {
    GTEST_SKIP() << "PLUMETA_SCREENSHOT is not set";
  }
  Win32Application app;

  // A desktop in the classic teal.
  ScopedGdiObject brush(::CreateSolidBrush(RGB(0, 128, 128)));
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &::DefWindowProcA;
  window_class.hInstance = ::GetModuleHandleA(nullptr);
  window_class.hbrBackground = static_cast<HBRUSH>(brush.Get());
  window_class.lpszClassName = kDesktopClass;
  ::RegisterClassA(&window_class);
  HWND desktop = ::CreateWindowExA(
      WS_EX_NOACTIVATE, kDesktopClass, "", WS_POPUP | WS_VISIBLE, 0, 0,
      ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr,
      nullptr, ::GetModuleHandleA(nullptr), nullptr);

  Win32NotificationArea area;
  widgets::TImageList images({"TRAY0"});
  widgets::TPlumTrayIcon icon(app, area, nullptr);
  icon.SetIconList(&images);
  icon.SetHint("Plumeta");
  icon.SetIconVisible(true);
  icon.Loaded();
  wine_test::PumpUntil([] { return false; }, 800);

  // Wine shows the tray as a small window of its own; the first icon sits
  // at the top left of its client area.
  HWND tray = ::FindWindowA(nullptr, "Wine System Tray");
  ASSERT_NE(tray, nullptr) << "no tray window";
  RECT tray_bounds;
  ::GetWindowRect(tray, &tray_bounds);
  POINT icon_origin = {0, 0};
  ::ClientToScreen(tray, &icon_origin);
  const int icon_size = ::GetSystemMetrics(SM_CXSMICON);
  const std::string tray_shot = std::string(target) + ".tray.png";
  std::string error;
  ASSERT_TRUE(wine_test::ScreenCapture::Take(&error, tray_shot)) << error;

  icon.SetIconVisible(false);
  wine_test::PumpUntil([] { return false; }, 800);
  Win32BalloonWindows windows;
  widgets::TBalloonControl balloon(app, windows);
  balloon.SetTitle("Plumeta");
  balloon.SetText(
      {"Welcome to Plumeta", "Right-click the happy icon to display the menu"});
  balloon.SetPosition(widgets::blnArrowBottomRight);
  balloon.SetPixelCoordinateX(icon_origin.x + 6 + icon_size / 2);
  // The pointer touches the tray window's lower edge under the icon, so
  // that the two pictures do not overlap.
  balloon.SetPixelCoordinateY(tray_bounds.bottom + 2);
  balloon.ShowBalloon();
  wine_test::PumpUntil([] { return false; }, 1000);
  const std::string balloon_shot = std::string(target) + ".balloon.png";
  ASSERT_TRUE(wine_test::ScreenCapture::Take(&error, balloon_shot)) << error;

  // The tray window, as it was on screen, beside the balloon.
  const std::string compose =
      "convert '" + balloon_shot + "' \\( '" + tray_shot + "' -crop " +
      Geometry(tray_bounds) + " +repage \\) -geometry +" +
      std::to_string(tray_bounds.left) + "+" + std::to_string(tray_bounds.top) +
      " -composite -crop " + std::to_string(kShotWidth) + "x" +
      std::to_string(kShotHeight) + "+0+0 +repage '" + target + "' && rm -f '" +
      tray_shot + "' '" + balloon_shot + "'";
  EXPECT_EQ(wine_test::RunLinuxShell(compose), 0);

  widgets::TBalloon::FreeAll();
  ::DestroyWindow(desktop);
  ::UnregisterClassA(kDesktopClass, ::GetModuleHandleA(nullptr));
}

}  // namespace
}  // namespace plumeta::win32
