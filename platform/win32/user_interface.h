// platform/win32: Win32 calls only, in their ANSI ("A") forms. The user
// interface through user32.
#ifndef PLATFORM_WIN32_USER_INTERFACE_H_
#define PLATFORM_WIN32_USER_INTERFACE_H_

#include <string>

#include "platform/user_interface.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32UserInterface : public platform::UserInterface {
 public:
  // The window that owns the boxes asked for with `owned_by_main_window`;
  // until the program's main window exists, they have no owner.
  void SetMainWindow(HWND window) { main_window_ = window; }
  HWND main_window() const { return main_window_; }

  // A box that cannot be shown (MessageBoxA fails) answers kCancel.
  platform::MessageResult MessageBox(const std::string& text,
                                     const std::string& caption,
                                     platform::MessageButtons buttons,
                                     platform::MessageIcon icon,
                                     bool owned_by_main_window) override;

 private:
  HWND main_window_ = nullptr;
};

// MessageBoxA's uType for a button set and an icon.
UINT MessageBoxStyle(platform::MessageButtons buttons,
                     platform::MessageIcon icon);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_USER_INTERFACE_H_
