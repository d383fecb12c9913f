// platform/win32: Win32 calls only, in their ANSI ("A") forms. A form's
// window drawn from its description: a fixed dialog frame with only a close
// box, centred, its client area of the given size; pictures (bitmap
// resources) and labels (each line as it stands, clipped to the label)
// painted in description order; buttons as BUTTON child windows. WM_CLOSE
// raises on_close and never destroys the window.
#ifndef PLATFORM_WIN32_WIN32_MAIN_WINDOW_H_
#define PLATFORM_WIN32_WIN32_MAIN_WINDOW_H_

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_interface.h"
#include "platform/win32/win32_application.h"

namespace plumeta::win32 {

class Win32FormWindow : public platform::FormWindow {
 public:
  // The application window owns the window. A main form is the owner of
  // the program's message boxes (through `ui`) and the window that closing
  // the application closes.
  Win32FormWindow(Win32Application& application, Win32UserInterface& ui,
                  bool main_form, const platform::FormDescription& description,
                  platform::FormEvents events);
  ~Win32FormWindow() override;
  Win32FormWindow(const Win32FormWindow&) = delete;
  Win32FormWindow& operator=(const Win32FormWindow&) = delete;

  void SetVisible(bool visible) override;
  bool Visible() override;
  bool Minimized() override;
  void SetNormalState() override;
  void SetForeground() override;
  int AddMessageHook(platform::Application::MessageHook hook) override;
  void RemoveMessageHook(int id) override;
  void PostWindowMessage(std::uint32_t message, std::uintptr_t wparam,
                         std::intptr_t lparam) override;
  platform::ErrorCode WatchSessionChanges() override;
  void SetControlVisible(const std::string& control, bool visible) override;
  bool ControlVisible(const std::string& control) override;
  void Close() override;

  HWND handle() const { return window_.handle(); }
  // The window procedure, an ordinary member a test can call.
  std::optional<LRESULT> WindowProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct Control {
    platform::ControlDescription description;
    bool visible;
    ScopedGdiObject bitmap;  // a picture's
    ScopedGdiObject font;    // a label's or button's own
    HWND child = nullptr;    // a button's
  };

  void CreateChildren();
  void Paint();
  void PaintPicture(HDC dc, const Control& control);
  void PaintLabel(HDC dc, const Control& control);
  Control* Find(const std::string& name);
  // The topmost visible clickable picture at a client point.
  Control* PictureAt(int x, int y);

  Win32Application& application_;
  Win32UserInterface& ui_;
  bool main_form_;
  platform::FormDescription description_;
  platform::FormEvents events_;
  ScopedGdiObject form_font_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, platform::Application::MessageHook> hooks_;
  int last_hook_ = 0;
  // wtsapi32.dll, loaded while the window watches its session's changes.
  ScopedModule wtsapi_;
  bool watching_sessions_ = false;
  // Last, so that it goes first, before the fonts and pictures it shows.
  OwnedWindow window_;
};

class Win32Forms : public platform::Forms {
 public:
  Win32Forms(Win32Application& application, Win32UserInterface& ui)
      : application_(application), ui_(ui) {}

  std::unique_ptr<platform::FormWindow> CreateForm(
      const platform::FormDescription& description,
      platform::FormEvents events) override;

 private:
  Win32Application& application_;
  Win32UserInterface& ui_;
  bool main_form_created_ = false;
};

// The window styles of a form: a fixed dialog frame with only a close box.
inline constexpr DWORD kFormStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
inline constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WIN32_MAIN_WINDOW_H_
