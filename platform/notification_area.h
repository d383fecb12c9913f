// The notification area (the tray): Shell_NotifyIconA with its record as a
// value, the icons the record shows, registered window messages, and the
// hidden window that receives the shell's notifications.
#ifndef PLATFORM_NOTIFICATION_AREA_H_
#define PLATFORM_NOTIFICATION_AREA_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/window_handle.h"

namespace plumeta::platform {

using IconHandle = std::uintptr_t;  // an HICON; 0: no image

// Shell_NotifyIconA's NIM_* operations.
enum class NotifyOperation : std::uint32_t {
  kAdd = 0,
  kModify = 1,
  kDelete = 2,
  kSetVersion = 4,
};

// NOTIFYICONDATAA in the shell-5.0 layout, as values. The Win32 side copies it
// field by field into the real structure; `tip` goes into szTip[128] and must
// already be cut to at most 127 characters.
struct NotifyIconRecord {
  std::uint32_t size = 0;  // cbSize
  WindowHandle window = 0;
  // uID is a UINT: on a 64-bit build an address keeps its low 32 bits.
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  IconHandle icon = 0;
  std::string tip;
  std::uint32_t version = 0;  // uVersion (shares its place with uTimeout)
  // Which image of its list the icon shows; not part of the shell's record,
  // only reported by the host console's `tray` event.
  int image_index = 0;
};

// The major and minor version of the common-controls library.
struct ModuleVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  auto operator<=>(const ModuleVersion&) const = default;
};

// A hidden top-level window whose messages go to a procedure of the program.
// Destroying the object destroys the window.
class HiddenWindow {
 public:
  virtual ~HiddenWindow() = default;
  virtual WindowHandle Handle() = 0;
};

class NotificationArea {
 public:
  // Answers a message; nullopt hands it to the default window procedure.
  using WindowProcedure = std::function<std::optional<std::intptr_t>(
      std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam)>;

  virtual ~NotificationArea() = default;

  // Shell_NotifyIconA; true when the shell accepted the call.
  virtual bool NotifyIcon(NotifyOperation operation,
                          const NotifyIconRecord& record) = 0;
  // RegisterWindowMessageA; 0 when it failed.
  virtual std::uint32_t RegisterMessage(const std::string& name) = 0;
  // nullopt when the library or its DllGetVersion is missing.
  virtual std::optional<ModuleVersion> CommonControlsVersion() = 0;

  // A hidden window for the shell's notifications; null when it could not
  // be created.
  virtual std::unique_ptr<HiddenWindow> CreateHiddenWindow(
      WindowProcedure procedure) = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;

  // An icon resource of the program at the small-icon size, shared (never
  // destroyed by the program); 0 when there is none by that name.
  virtual IconHandle LoadIconResource(const std::string& resource_name) = 0;
};

// The implementation for the platform being built (platform/win32 or
// platform/host).
std::unique_ptr<NotificationArea> CreateNotificationArea();

}  // namespace plumeta::platform

#endif  // PLATFORM_NOTIFICATION_AREA_H_
