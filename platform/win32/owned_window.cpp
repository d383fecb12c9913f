// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/owned_window.h"

#include <utility>

namespace plumeta::win32 {

bool OwnedWindow::Create(const WindowClass& window_class,
                         const WindowShape& shape, Procedure procedure) {
  Destroy();
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA registered = {};
  if (!::GetClassInfoA(instance, window_class.name, &registered)) {
    registered.style = window_class.style;
    registered.lpfnWndProc = &OwnedWindow::Route;
    registered.hInstance = instance;
    registered.hIcon = window_class.icon;
    registered.hCursor = window_class.cursor;
    registered.hbrBackground = window_class.background;
    registered.lpszClassName = window_class.name;
    if (::RegisterClassA(&registered) == 0) return false;
  }
  procedure_ = std::move(procedure);
  // Route attaches the window to this object at WM_NCCREATE.
  window_ =
      ::CreateWindowExA(shape.ex_style, window_class.name, shape.title,
                        shape.style, shape.left, shape.top, shape.width,
                        shape.height, shape.owner, nullptr, instance, this);
  return window_ != nullptr;
}

void OwnedWindow::Destroy() {
  if (window_ == nullptr) return;
  HWND window = std::exchange(window_, nullptr);
  ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
}

LRESULT CALLBACK OwnedWindow::Route(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    if (auto* self = static_cast<OwnedWindow*>(create->lpCreateParams)) {
      self->window_ = window;
      ::SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(self));
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  auto* self = reinterpret_cast<OwnedWindow*>(
      ::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || !self->procedure_) {
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  Procedure procedure = self->procedure_;
  if (message == WM_NCDESTROY) {
    // Destroyed from elsewhere: the object no longer holds the window.
    self->window_ = nullptr;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  // From here on `self` may be gone.
  const std::optional<LRESULT> result = procedure(message, wparam, lparam);
  if (result) return *result;
  return ::DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace plumeta::win32
