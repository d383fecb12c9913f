// platform/win32: Win32 calls only, in their ANSI ("A") forms. A window its
// object owns: the class registered at the first window of its name, the
// window created, each of its messages from WM_NCCREATE on handed to the
// owner's procedure, and the window destroyed with the object. Every window
// of the program's own classes is made this way.
#ifndef PLATFORM_WIN32_OWNED_WINDOW_H_
#define PLATFORM_WIN32_OWNED_WINDOW_H_

#include <functional>
#include <optional>

#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

// The class, registered under `name` unless a class of that name exists.
struct WindowClass {
  const char* name;
  UINT style = 0;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// CreateWindowExA's arguments.
struct WindowShape {
  DWORD ex_style = 0;
  DWORD style = WS_POPUP;
  const char* title = "";
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  HWND owner = nullptr;
};

class OwnedWindow {
 public:
  // A message's result, or nullopt for DefWindowProcA's. The procedure may
  // destroy the window and its owner; it runs from a copy.
  using Procedure = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;

  OwnedWindow() = default;
  ~OwnedWindow() { Destroy(); }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  // Replaces the window held before; false when the class cannot be
  // registered or the window cannot be created.
  bool Create(const WindowClass& window_class, const WindowShape& shape,
              Procedure procedure);
  // Destroys the window without calling the procedure again.
  void Destroy();

  // Null before Create, after Destroy, and once the window is destroyed
  // from elsewhere (with its owner, for one).
  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK Route(HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam);

  HWND window_ = nullptr;
  Procedure procedure_;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_OWNED_WINDOW_H_
