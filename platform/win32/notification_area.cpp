// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/notification_area.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win32/owned_window.h"
#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {

namespace {

constexpr std::uint32_t kShell5SizeOf32BitLayout = 488;
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V2_SIZE == 488,
              "the shell-5.0 record of a 32-bit program is 488 bytes");

class Win32HiddenWindow : public platform::HiddenWindow {
 public:
  bool Create(platform::NotificationArea::WindowProcedure procedure) {
    return window_.Create({.name = kHiddenWindowClass}, {},
                          [procedure = std::move(procedure)](
                              UINT message, WPARAM wparam,
                              LPARAM lparam) -> std::optional<LRESULT> {
                            std::optional<std::intptr_t> result =
                                procedure(message, wparam, lparam);
                            if (result) return *result;
                            return std::nullopt;
                          });
  }

  platform::WindowHandle Handle() override {
    return reinterpret_cast<platform::WindowHandle>(window_.handle());
  }

 private:
  OwnedWindow window_;
};

DWORD NotifyMessage(platform::NotifyOperation operation) {
  switch (operation) {
    case platform::NotifyOperation::kAdd:
      return NIM_ADD;
    case platform::NotifyOperation::kModify:
      return NIM_MODIFY;
    case platform::NotifyOperation::kDelete:
      return NIM_DELETE;
    case platform::NotifyOperation::kSetVersion:
      return NIM_SETVERSION;
  }
  return NIM_MODIFY;
}

}  // namespace

NOTIFYICONDATAA ToNotifyIconData(const platform::NotifyIconRecord& record) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof(data));
  data.cbSize = record.size == kShell5SizeOf32BitLayout
                    ? NOTIFYICONDATAA_V2_SIZE
                    : std::min<DWORD>(record.size, sizeof(data));
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callback_message;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  std::size_t tip_length = std::min(record.tip.size(), sizeof(data.szTip) - 1);
  std::memcpy(data.szTip, record.tip.data(), tip_length);
  data.uVersion = record.version;
  return data;
}

bool Win32NotificationArea::NotifyIcon(
    platform::NotifyOperation operation,
    const platform::NotifyIconRecord& record) {
  NOTIFYICONDATAA data = ToNotifyIconData(record);
  return ::Shell_NotifyIconA(NotifyMessage(operation), &data) != FALSE;
}

std::uint32_t Win32NotificationArea::RegisterMessage(const std::string& name) {
  return ::RegisterWindowMessageA(name.c_str());
}

std::optional<platform::ModuleVersion>
Win32NotificationArea::CommonControlsVersion() {
  ScopedModule library(::LoadLibraryA("comctl32.dll"));
  if (!library) return std::nullopt;
  auto get_version =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(
          ::GetProcAddress(library.Get(), "DllGetVersion")));
  if (get_version == nullptr) return std::nullopt;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  if (FAILED(get_version(&info))) return std::nullopt;
  return platform::ModuleVersion{info.dwMajorVersion, info.dwMinorVersion};
}

std::unique_ptr<platform::HiddenWindow>
Win32NotificationArea::CreateHiddenWindow(WindowProcedure procedure) {
  auto window = std::make_unique<Win32HiddenWindow>();
  if (!window->Create(std::move(procedure))) return nullptr;
  return window;
}

bool Win32NotificationArea::SetForegroundWindow(platform::WindowHandle window) {
  return ::SetForegroundWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

platform::IconHandle Win32NotificationArea::LoadIconResource(
    const std::string& resource_name) {
  HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), resource_name.c_str(),
                             IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                             ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  return reinterpret_cast<platform::IconHandle>(icon);
}

}  // namespace plumeta::win32

namespace plumeta::platform {

std::unique_ptr<NotificationArea> CreateNotificationArea() {
  return std::make_unique<win32::Win32NotificationArea>();
}

}  // namespace plumeta::platform
