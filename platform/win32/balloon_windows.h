// platform/win32: Win32 calls only, in their ANSI ("A") forms. Balloon
// windows: shaped, topmost, never-activated popups drawn with GDI.
#ifndef PLATFORM_WIN32_BALLOON_WINDOWS_H_
#define PLATFORM_WIN32_BALLOON_WINDOWS_H_

#include <functional>
#include <memory>
#include <string>

#include "platform/balloon_windows.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32BalloonWindows : public platform::BalloonWindows {
 public:
  // DrawTextA's measure (DT_CALCRECT) in Tahoma 8 points on the screen.
  platform::Size MeasureLabel(const std::string& text, bool bold) override;
  std::unique_ptr<platform::BalloonWindow> Show(
      const platform::BalloonWindowLayout& layout,
      std::function<void()> on_click) override;
};

// The balloon windows' class.
inline constexpr char kBalloonWindowClass[] = "PlumetaBalloon";

// The handle of a balloon window, for tests.
HWND BalloonWindowHandle(platform::BalloonWindow& window);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_BALLOON_WINDOWS_H_
