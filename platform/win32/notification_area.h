// platform/win32: Win32 calls only, in their ANSI ("A") forms. The
// notification area through Shell_NotifyIconA, and the hidden window that
// receives its notifications.
#ifndef PLATFORM_WIN32_NOTIFICATION_AREA_H_
#define PLATFORM_WIN32_NOTIFICATION_AREA_H_

#include <memory>
#include <optional>
#include <string>

#include "platform/notification_area.h"
#include "platform/win32/windows_api.h"
// clang-format off
#include <shellapi.h>  // after <windows.h>
// clang-format on

namespace plumeta::win32 {

class Win32NotificationArea : public platform::NotificationArea {
 public:
  bool NotifyIcon(platform::NotifyOperation operation,
                  const platform::NotifyIconRecord& record) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  std::optional<platform::ModuleVersion> CommonControlsVersion() override;
  std::unique_ptr<platform::HiddenWindow> CreateHiddenWindow(
      WindowProcedure procedure) override;
  bool SetForegroundWindow(platform::WindowHandle window) override;
  platform::IconHandle LoadIconResource(
      const std::string& resource_name) override;
};

// The record in the real structure. The shell-5.0 size of the 32-bit layout
// (488) becomes this build's size of that layout; szTip takes at most 127
// characters and is NUL-padded.
NOTIFYICONDATAA ToNotifyIconData(const platform::NotifyIconRecord& record);

// The window class of the hidden notification windows.
inline constexpr char kHiddenWindowClass[] = "PlumetaHiddenWindow";

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_NOTIFICATION_AREA_H_
