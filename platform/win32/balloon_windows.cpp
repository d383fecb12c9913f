// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/balloon_windows.h"

#include <optional>
#include <utility>

#include "platform/win32/owned_window.h"
#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {

namespace {

// Keeps the balloon above normal windows without activating it.
constexpr UINT kKeepOnTopFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
// Posted to itself when minimised: shown again once the minimise is done.
constexpr UINT kShowAgain = WM_APP + 1;

// Tahoma at 8 points for the screen's resolution.
ScopedGdiObject CreateLabelFont(bool bold) {
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  return ScopedGdiObject(::CreateFontA(
      height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
}

// A label's text as DrawTextA draws it: "&" marks an access key.
constexpr UINT kLabelFormat = DT_LEFT | DT_EXPANDTABS;

class Win32BalloonWindow : public platform::BalloonWindow {
 public:
  Win32BalloonWindow(const platform::BalloonWindowLayout& layout,
                     std::function<void()> on_click)
      : layout_(layout),
        on_click_(std::move(on_click)),
        regular_font_(CreateLabelFont(false)),
        bold_font_(CreateLabelFont(true)) {}
  Win32BalloonWindow(const Win32BalloonWindow&) = delete;
  Win32BalloonWindow& operator=(const Win32BalloonWindow&) = delete;

  bool Create() {
    picture_.Reset(::LoadImageA(::GetModuleHandleA(nullptr),
                                layout_.picture_name.c_str(), IMAGE_BITMAP, 0,
                                0, LR_CREATEDIBSECTION));
    const platform::Rect& bounds = layout_.window;
    if (!window_.Create(
            {.name = kBalloonWindowClass,
             .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
             .background = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1)},
            {.ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
             .left = bounds.left,
             .top = bounds.top,
             .width = bounds.Width(),
             .height = bounds.Height(),
             .owner = ::GetDesktopWindow()},
            [this](UINT message, WPARAM wparam, LPARAM) {
              return WindowProc(message, wparam);
            })) {
      return false;
    }
    Shape();
    ::ShowWindow(window_.handle(), SW_SHOWNOACTIVATE);
    return true;
  }

  HWND Handle() const { return window_.handle(); }

 private:
  // The rounded body and the pointer, as one region.
  void Shape() {
    const platform::Rect& body = layout_.body;
    ScopedGdiObject region(::CreateRoundRectRgn(body.left, body.top, body.right,
                                                body.bottom, 7, 7));
    POINT points[3];
    for (int i = 0; i < 3; ++i) {
      points[i] = {layout_.pointer[i].x, layout_.pointer[i].y};
    }
    ScopedGdiObject pointer(::CreatePolygonRgn(points, 3, WINDING));
    ::CombineRgn(static_cast<HRGN>(region.Get()),
                 static_cast<HRGN>(region.Get()),
                 static_cast<HRGN>(pointer.Get()), RGN_OR);
    // The window owns its region from here on.
    if (::SetWindowRgn(window_.handle(), static_cast<HRGN>(region.Get()),
                       TRUE)) {
      region.Release();
    }
  }

  void KeepOnTop() {
    ::SetWindowPos(window_.handle(), HWND_TOPMOST, 0, 0, 0, 0, kKeepOnTopFlags);
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window_.handle(), &paint);
    DrawPicture(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    DrawLabel(dc, layout_.title, layout_.title_position, bold_font_);
    DrawLabel(dc, layout_.text, layout_.text_position, regular_font_);
    DrawOutline(dc);
    ::EndPaint(window_.handle(), &paint);
  }

  void DrawLabel(HDC dc, const std::string& text, platform::Point at,
                 const ScopedGdiObject& font) {
    HGDIOBJ old_font = ::SelectObject(dc, font.Get());
    RECT bounds = {at.x, at.y, at.x, at.y};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                kLabelFormat | DT_CALCRECT);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                kLabelFormat);
    ::SelectObject(dc, old_font);
  }

  // The picture with its bottom-left pixel's colour left out.
  void DrawPicture(HDC dc) {
    if (!picture_) return;
    BITMAP info;
    if (::GetObjectA(picture_.Get(), sizeof(info), &info) == 0) return;
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old_bitmap = ::SelectObject(memory, picture_.Get());
    const COLORREF transparent = ::GetPixel(memory, 0, info.bmHeight - 1);
    for (int y = 0; y < info.bmHeight; ++y) {
      for (int x = 0; x < info.bmWidth; ++x) {
        COLORREF colour = ::GetPixel(memory, x, y);
        if (colour != transparent) {
          ::SetPixelV(dc, layout_.picture.x + x, layout_.picture.y + y, colour);
        }
      }
    }
    ::SelectObject(memory, old_bitmap);
    ::DeleteDC(memory);
  }

  // A 1-pixel black line along the window's region.
  void DrawOutline(HDC dc) {
    ScopedGdiObject scratch(::CreateRectRgn(0, 0, 1, 1));
    if (::GetWindowRgn(window_.handle(), static_cast<HRGN>(scratch.Get())) !=
        ERROR) {
      ::FrameRgn(dc, static_cast<HRGN>(scratch.Get()),
                 static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)), 1, 1);
    }
  }

  std::optional<LRESULT> WindowProc(UINT message, WPARAM wparam) {
    switch (message) {
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_ACTIVATE:
      case WM_NCACTIVATE:
        KeepOnTop();
        break;
      case WM_SHOWWINDOW:
        if (wparam) KeepOnTop();
        break;
      case WM_LBUTTONUP:
        if (on_click_) on_click_();
        return 0;
      case WM_SIZE:
        if (wparam == SIZE_MINIMIZED) {
          ::PostMessageA(window_.handle(), kShowAgain, 0, 0);
        }
        break;
      case kShowAgain:
        ::ShowWindow(window_.handle(), SW_SHOWNOACTIVATE);
        KeepOnTop();
        return 0;
      case WM_PAINT:
        Paint();
        return 0;
      default:
        break;
    }
    return std::nullopt;
  }

  platform::BalloonWindowLayout layout_;
  std::function<void()> on_click_;
  ScopedGdiObject regular_font_;
  ScopedGdiObject bold_font_;
  ScopedGdiObject picture_;
  // Last, so that it goes first, before the fonts and picture it shows.
  OwnedWindow window_;
};

}  // namespace

platform::Size Win32BalloonWindows::MeasureLabel(const std::string& text,
                                                 bool bold) {
  ScopedGdiObject font = CreateLabelFont(bold);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old_font = ::SelectObject(screen, font.Get());
  RECT bounds = {0, 0, 0, 0};
  ::DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &bounds,
              kLabelFormat | DT_CALCRECT);
  ::SelectObject(screen, old_font);
  ::ReleaseDC(nullptr, screen);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::unique_ptr<platform::BalloonWindow> Win32BalloonWindows::Show(
    const platform::BalloonWindowLayout& layout,
    std::function<void()> on_click) {
  auto window =
      std::make_unique<Win32BalloonWindow>(layout, std::move(on_click));
  if (!window->Create()) return nullptr;
  return window;
}

HWND BalloonWindowHandle(platform::BalloonWindow& window) {
  return static_cast<Win32BalloonWindow&>(window).Handle();
}

}  // namespace plumeta::win32

namespace plumeta::platform {

std::unique_ptr<BalloonWindows> CreateBalloonWindows() {
  return std::make_unique<win32::Win32BalloonWindows>();
}

}  // namespace plumeta::platform
