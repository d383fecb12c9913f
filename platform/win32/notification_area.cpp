// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/notification_area.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {

namespace {

constexpr std::uint32_t kShell5SizeOf32BitLayout = 488;
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V2_SIZE == 488,
              "the shell-5.0 record of a 32-bit program is 488 bytes");

class Win32HiddenWindow : public platform::HiddenWindow {
 public:
  explicit Win32HiddenWindow(
      platform::NotificationArea::WindowProcedure procedure)
      : procedure_(std::move(procedure)) {}
  ~Win32HiddenWindow() override {
    if (window_ != nullptr) {
      ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      ::DestroyWindow(window_);
    }
  }
  Win32HiddenWindow(const Win32HiddenWindow&) = delete;
  Win32HiddenWindow& operator=(const Win32HiddenWindow&) = delete;

  bool Create() {
    if (!RegisterClass()) return false;
    window_ =
        ::CreateWindowExA(0, kHiddenWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
    return window_ != nullptr;
  }

  platform::WindowHandle Handle() override {
    return reinterpret_cast<platform::WindowHandle>(window_);
  }

 private:
  static bool RegisterClass() {
    WNDCLASSA window_class{};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoA(instance, kHiddenWindowClass, &window_class)) {
      return true;
    }
    window_class.lpfnWndProc = &Procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = kHiddenWindowClass;
    return ::RegisterClassA(&window_class) != 0;
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32HiddenWindow*>(
        ::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message != WM_NCCREATE) {
      // A copy: the call may destroy this window and its object.
      auto procedure = self->procedure_;
      std::optional<std::intptr_t> result = procedure(message, wparam, lparam);
      if (result) return *result;
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
  }

  platform::NotificationArea::WindowProcedure procedure_;
  HWND window_ = nullptr;
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
  auto window = std::make_unique<Win32HiddenWindow>(std::move(procedure));
  if (!window->Create()) return nullptr;
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
