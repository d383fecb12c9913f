// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_main_window.h"

#include <algorithm>

namespace plumeta::win32 {
namespace {

constexpr int kFirstButtonId = 100;
// wtsapi32.h's NOTIFY_FOR_THIS_SESSION.
constexpr DWORD kNotifyForThisSession = 0;
using SessionNotificationCall = BOOL(WINAPI*)(HWND, DWORD);
using SessionUnregisterCall = BOOL(WINAPI*)(HWND);

HFONT CreateFormFont(const platform::Font& font) {
  return ::CreateFontA(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
}

}  // namespace

Win32FormWindow::Win32FormWindow(Win32Application& application,
                                 Win32UserInterface& ui, bool main_form,
                                 const platform::FormDescription& description,
                                 platform::FormEvents events)
    : application_(application),
      ui_(ui),
      main_form_(main_form),
      description_(description),
      events_(std::move(events)) {
  RECT frame = {0, 0, description_.client_size.width,
                description_.client_size.height};
  ::AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  window_.Create(
      {.name = description_.name.c_str(),
       .style = CS_DBLCLKS,
       .icon = description_.icon_resource.empty()
                   ? nullptr
                   : ::LoadIconA(instance, description_.icon_resource.c_str()),
       .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
       .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
      {.ex_style = kFormExStyle,
       .style = kFormStyle,
       .title = description_.caption.c_str(),
       .left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
       .top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2,
       .width = width,
       .height = height,
       .owner = application_.Handle()},
      [this](UINT message, WPARAM wparam, LPARAM lparam) {
        return WindowProc(message, wparam, lparam);
      });
  form_font_.Reset(CreateFormFont(description_.font));
  ::SendMessageA(window_.handle(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
  CreateChildren();
  if (main_form_) {
    ui_.SetMainWindow(window_.handle());
    application_.SetMainForm(window_.handle());
  }
}

Win32FormWindow::~Win32FormWindow() {
  if (main_form_) {
    ui_.SetMainWindow(nullptr);
    application_.SetMainForm(nullptr);
  }
  // Windows wants the session notifications ended before the window goes.
  if (watching_sessions_) {
    if (auto unregister = FindSystemEntry<SessionUnregisterCall>(
            "wtsapi32.dll", "WTSUnRegisterSessionNotification")) {
      unregister(window_.handle());
    }
  }
}

// Windows 95 to 2000 have no such call: it is looked up, never imported.
platform::ErrorCode Win32FormWindow::WatchSessionChanges() {
  if (watching_sessions_) return platform::kSuccess;
  if (!wtsapi_) wtsapi_.Reset(::LoadLibraryA("wtsapi32.dll"));
  if (!wtsapi_) return LastErrorOr(ERROR_MOD_NOT_FOUND);
  auto watch = FindSystemEntry<SessionNotificationCall>(
      "wtsapi32.dll", "WTSRegisterSessionNotification");
  if (watch == nullptr) return ERROR_PROC_NOT_FOUND;
  if (!watch(window_.handle(), kNotifyForThisSession)) return LastFailure();
  watching_sessions_ = true;
  return platform::kSuccess;
}

void Win32FormWindow::CreateChildren() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  int button_id = kFirstButtonId;
  for (const auto& description : description_.controls) {
    auto control = std::make_unique<Control>();
    control->description = description;
    control->visible = description.visible;
    if (description.own_font) {
      control->font.Reset(CreateFormFont(description.font));
    }
    HGDIOBJ font = control->font ? control->font.Get() : form_font_.Get();
    const platform::Rect& at = description.bounds;
    switch (description.kind) {
      case platform::ControlKind::kPicture:
        // A missing resource leaves the picture empty.
        control->bitmap.Reset(
            ::LoadImageA(instance, description.resource.c_str(), IMAGE_BITMAP,
                         0, 0, LR_CREATEDIBSECTION));
        break;
      case platform::ControlKind::kButton:
        control->child = ::CreateWindowExA(
            0, "BUTTON", description.text.c_str(),
            WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON |
                (description.visible ? WS_VISIBLE : 0),
            at.left, at.top, at.Width(), at.Height(), window_.handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(button_id++)),
            instance, nullptr);
        ::SendMessageA(control->child, WM_SETFONT,
                       reinterpret_cast<WPARAM>(font), FALSE);
        break;
      case platform::ControlKind::kLabel:
        break;
    }
    controls_.push_back(std::move(control));
  }
}

std::optional<LRESULT> Win32FormWindow::WindowProc(UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
  const auto hooks = hooks_;
  for (const auto& [id, hook] : hooks) {
    hook(message, static_cast<std::uintptr_t>(wparam),
         static_cast<std::intptr_t>(lparam));
  }
  switch (message) {
    case WM_CLOSE:
      // The program decides what closing means; the window stays.
      if (events_.on_close) events_.on_close();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        for (const auto& control : controls_) {
          if (control->child == reinterpret_cast<HWND>(lparam)) {
            if (events_.on_click) events_.on_click(control->description.name);
            return 0;
          }
        }
      }
      break;
    case WM_LBUTTONUP:
      if (Control* picture = PictureAt(static_cast<short>(LOWORD(lparam)),
                                       static_cast<short>(HIWORD(lparam)))) {
        if (events_.on_click) events_.on_click(picture->description.name);
        return 0;
      }
      break;
  }
  return std::nullopt;
}

void Win32FormWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window_.handle(), &paint);
  for (const auto& control : controls_) {
    if (!control->visible) continue;
    if (control->description.kind == platform::ControlKind::kPicture) {
      PaintPicture(dc, *control);
    } else if (control->description.kind == platform::ControlKind::kLabel) {
      PaintLabel(dc, *control);
    }
  }
  ::EndPaint(window_.handle(), &paint);
}

// Drawn at its place, unscaled, clipped to its bounds.
void Win32FormWindow::PaintPicture(HDC dc, const Control& control) {
  if (!control.bitmap) return;
  BITMAP info;
  if (::GetObjectA(control.bitmap.Get(), sizeof(info), &info) == 0) return;
  HDC memory = ::CreateCompatibleDC(dc);
  if (memory == nullptr) return;
  HGDIOBJ old = ::SelectObject(memory, control.bitmap.Get());
  const platform::Rect& at = control.description.bounds;
  ::BitBlt(dc, at.left, at.top, std::min<int>(at.Width(), info.bmWidth),
           std::min<int>(at.Height(), info.bmHeight), memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void Win32FormWindow::PaintLabel(HDC dc, const Control& control) {
  const platform::ControlDescription& label = control.description;
  RECT rect = {label.bounds.left, label.bounds.top, label.bounds.right,
               label.bounds.bottom};
  if (!label.transparent) {
    ::FillRect(dc, &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
  HGDIOBJ old_font =
      ::SelectObject(dc, control.font ? control.font.Get() : form_font_.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(label.text_color.red, label.text_color.green,
                         label.text_color.blue));
  ::DrawTextA(dc, label.text.c_str(), static_cast<int>(label.text.size()),
              &rect, DT_LEFT | DT_TOP | DT_NOPREFIX);
  ::SelectObject(dc, old_font);
}

Win32FormWindow::Control* Win32FormWindow::Find(const std::string& name) {
  for (const auto& control : controls_) {
    if (control->description.name == name) return control.get();
  }
  return nullptr;
}

Win32FormWindow::Control* Win32FormWindow::PictureAt(int x, int y) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control& control = **it;
    const platform::Rect& at = control.description.bounds;
    if (!control.visible || x < at.left || x >= at.right || y < at.top ||
        y >= at.bottom) {
      continue;
    }
    // The topmost control there takes the click, or nobody does.
    return control.description.kind == platform::ControlKind::kPicture &&
                   control.description.clickable
               ? &control
               : nullptr;
  }
  return nullptr;
}

void Win32FormWindow::SetVisible(bool visible) {
  ::ShowWindow(window_.handle(), visible ? SW_SHOW : SW_HIDE);
}

bool Win32FormWindow::Visible() {
  return ::IsWindowVisible(window_.handle()) != FALSE;
}

bool Win32FormWindow::Minimized() {
  return ::IsIconic(window_.handle()) != FALSE;
}

void Win32FormWindow::SetNormalState() {
  if (::IsIconic(window_.handle())) ::ShowWindow(window_.handle(), SW_RESTORE);
}

// From Windows 98 and 2000 on a program takes the foreground only while the
// user's last input was its own; a tray program woken by a print job is not,
// and its window (with the save dialog it owns) would only flash in the
// taskbar behind the printing program. Sharing the input state of the
// foreground window's thread for the moment of the call is the way the
// system leaves open; 95 and NT 4.0 have no such lock.
void Win32FormWindow::SetForeground() {
  const HWND foreground = ::GetForegroundWindow();
  const DWORD own_thread = ::GetCurrentThreadId();
  const DWORD foreground_thread =
      foreground != nullptr && foreground != window_.handle()
          ? ::GetWindowThreadProcessId(foreground, nullptr)
          : 0;
  const bool joined =
      foreground_thread != 0 && foreground_thread != own_thread &&
      ::AttachThreadInput(foreground_thread, own_thread, TRUE) != FALSE;
  ::BringWindowToTop(window_.handle());
  ::SetForegroundWindow(window_.handle());
  if (joined) ::AttachThreadInput(foreground_thread, own_thread, FALSE);
}

int Win32FormWindow::AddMessageHook(platform::Application::MessageHook hook) {
  hooks_[++last_hook_] = std::move(hook);
  return last_hook_;
}

void Win32FormWindow::RemoveMessageHook(int id) { hooks_.erase(id); }

void Win32FormWindow::PostWindowMessage(std::uint32_t message,
                                        std::uintptr_t wparam,
                                        std::intptr_t lparam) {
  ::PostMessageA(window_.handle(), message, static_cast<WPARAM>(wparam),
                 static_cast<LPARAM>(lparam));
}

void Win32FormWindow::SetControlVisible(const std::string& name, bool visible) {
  Control* control = Find(name);
  if (control == nullptr || control->visible == visible) return;
  control->visible = visible;
  if (control->child != nullptr) {
    ::ShowWindow(control->child, visible ? SW_SHOW : SW_HIDE);
  } else {
    const platform::Rect& at = control->description.bounds;
    RECT rect = {at.left, at.top, at.right, at.bottom};
    ::InvalidateRect(window_.handle(), &rect, TRUE);
  }
}

bool Win32FormWindow::ControlVisible(const std::string& name) {
  Control* control = Find(name);
  return control != nullptr && control->visible;
}

void Win32FormWindow::Close() {
  ::SendMessageA(window_.handle(), WM_CLOSE, 0, 0);
}

std::unique_ptr<platform::FormWindow> Win32Forms::CreateForm(
    const platform::FormDescription& description, platform::FormEvents events) {
  const bool main_form = !main_form_created_;
  main_form_created_ = true;
  return std::make_unique<Win32FormWindow>(application_, ui_, main_form,
                                           description, std::move(events));
}

}  // namespace plumeta::win32
