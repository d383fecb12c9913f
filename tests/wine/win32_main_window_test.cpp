// The tray monitor's main window as the Win32 code draws it from its
// description.
#include "platform/win32/win32_main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "monitor/main_form_layout.h"
#include "tests/wine/support/window_finder.h"

namespace plumeta::win32 {
namespace {

class Win32MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application_.SetTitle("PlumetaMainWindowTest");
    platform::FormEvents events;
    events.on_close = [this] { seen_.push_back("close"); };
    events.on_click = [this](const std::string& name) {
      seen_.push_back(name);
    };
    forms_ = std::make_unique<Win32Forms>(application_, ui_);
    window_ = forms_->CreateForm(MainFormDescription(), std::move(events));
    handle_ = static_cast<Win32FormWindow&>(*window_).handle();
    ASSERT_NE(handle_, nullptr);
  }

  HWND Button() { return ::FindWindowExA(handle_, nullptr, "BUTTON", "Menu"); }

  // The colour on screen at a client point of the shown window.
  COLORREF PixelAt(int x, int y) {
    HDC dc = ::GetDC(handle_);
    const COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(handle_, dc);
    return color;
  }
  // The colour of a bitmap resource at a point.
  static COLORREF ResourcePixel(const char* resource, int x, int y) {
    ScopedGdiObject bitmap(::LoadImageA(::GetModuleHandleA(nullptr), resource,
                                        IMAGE_BITMAP, 0, 0,
                                        LR_CREATEDIBSECTION));
    if (!bitmap) return CLR_INVALID;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap.Get());
    const COLORREF color = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return color;
  }
  void ShowAndPaint() {
    window_->SetVisible(true);
    ::UpdateWindow(handle_);
    wine_test::PumpUntil([] { return false; }, 300);
  }

  Win32Application application_;
  Win32UserInterface ui_;
  std::unique_ptr<Win32Forms> forms_;
  std::unique_ptr<platform::FormWindow> window_;
  HWND handle_ = nullptr;
  std::vector<std::string> seen_;
};

TEST_F(Win32MainWindowTest, FrameCaptionSizeAndPlace) {
  char text[64] = {};
  ::GetClassNameA(handle_, text, sizeof(text));
  EXPECT_STREQ(text, "TMain");
  ::GetWindowTextA(handle_, text, sizeof(text));
  EXPECT_STREQ(text, "Plumeta");
  RECT client;
  ::GetClientRect(handle_, &client);
  EXPECT_EQ(client.right, 462);
  EXPECT_EQ(client.bottom, 205);
  const LONG_PTR style = ::GetWindowLongPtrA(handle_, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(::GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  RECT frame;
  ::GetWindowRect(handle_, &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2,
              ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2,
              ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  // Owned by the application window, so it has no taskbar button of its own;
  // the owner of the program's message boxes and dialogs.
  EXPECT_EQ(::GetWindow(handle_, GW_OWNER), application_.Handle());
  EXPECT_EQ(ui_.main_window(), handle_);
  EXPECT_FALSE(window_->Visible());
}

TEST_F(Win32MainWindowTest, MenuButtonWithTheFormsFont) {
  HWND button = Button();
  ASSERT_NE(button, nullptr);
  RECT rect;
  ::GetWindowRect(button, &rect);
  POINT top_left = {rect.left, rect.top};
  ::ScreenToClient(handle_, &top_left);
  EXPECT_EQ(top_left.x, 8);
  EXPECT_EQ(top_left.y, 144);
  EXPECT_EQ(rect.right - rect.left, 75);
  EXPECT_EQ(rect.bottom - rect.top, 25);
  LOGFONTA font = {};
  ASSERT_NE(::GetObjectA(reinterpret_cast<HGDIOBJ>(
                             ::SendMessageA(button, WM_GETFONT, 0, 0)),
                         sizeof(font), &font),
            0);
  EXPECT_STREQ(font.lfFaceName, "Tahoma");
  EXPECT_EQ(font.lfHeight, -11);
  ::SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(seen_, std::vector<std::string>{"Button4"});
}

TEST_F(Win32MainWindowTest, CloseRaisesTheEventAndTheWindowStays) {
  window_->SetVisible(true);
  ::SendMessageA(handle_, WM_CLOSE, 0, 0);
  window_->Close();
  // Closing the application (its taskbar window) closes the main window.
  ::SendMessageA(application_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(seen_, (std::vector<std::string>{"close", "close", "close"}));
  EXPECT_FALSE(application_.Terminated());
  EXPECT_TRUE(::IsWindow(handle_));
  EXPECT_TRUE(window_->Visible());
}

// The tray icon posts WM_NULL after its menu; the message arrives later,
// through the loop.
TEST_F(Win32MainWindowTest, PostedMessagesArriveFromTheLoop) {
  std::vector<std::uint32_t> arrived;
  window_->AddMessageHook(
      [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t) {
        if (message == WM_NULL || message == WM_USER + 7) {
          arrived.push_back(message + static_cast<std::uint32_t>(wparam));
        }
      });
  window_->PostWindowMessage(WM_USER + 7, 3, 0);
  window_->PostWindowMessage(WM_NULL, 0, 0);
  EXPECT_TRUE(arrived.empty());
  EXPECT_TRUE(wine_test::PumpUntil([&] { return arrived.size() == 2; }, 5000));
  EXPECT_EQ(arrived, (std::vector<std::uint32_t>{WM_USER + 10, WM_NULL}));
}

// WTSRegisterSessionNotification is looked up in wtsapi32.dll at run time
// (Wine has it, as XP and later do); asking twice is asking once.
TEST_F(Win32MainWindowTest, AsksForItsSessionsChangesThroughARunTimeLookUp) {
  EXPECT_EQ(window_->WatchSessionChanges(), platform::kSuccess);
  EXPECT_EQ(window_->WatchSessionChanges(), platform::kSuccess);
  EXPECT_NE(::GetModuleHandleA("wtsapi32.dll"), nullptr);
}

TEST_F(Win32MainWindowTest, SupportPictureAnswersClicksOnceShown) {
  const LPARAM at = MAKELPARAM(40, 40);
  ::SendMessageA(handle_, WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(seen_.empty());
  EXPECT_FALSE(window_->ControlVisible("Image2"));
  window_->SetControlVisible("Image2", true);
  EXPECT_TRUE(window_->ControlVisible("Image2"));
  ::SendMessageA(handle_, WM_LBUTTONUP, 0, at);
  // The label is no picture: a click there reports nothing.
  ::SendMessageA(handle_, WM_LBUTTONUP, 0, MAKELPARAM(200, 60));
  EXPECT_EQ(seen_, std::vector<std::string>{"Image2"});
}

TEST_F(Win32MainWindowTest, PaintsTheBackgroundAndThePicture) {
  const COLORREF background = ResourcePixel("IMAGE1", 300, 190);
  if (background == CLR_INVALID) {
    GTEST_SKIP() << "the test program carries no IMAGE1 resource";
  }
  ShowAndPaint();
  EXPECT_EQ(PixelAt(300, 190), background);
  // Image2's place shows the background until start-up shows the picture.
  EXPECT_EQ(PixelAt(48, 100), ResourcePixel("IMAGE1", 48, 100));
  window_->SetControlVisible("Image2", true);
  ::UpdateWindow(handle_);
  wine_test::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(PixelAt(48, 100), ResourcePixel("IMAGE2", 48, 100));
}

// A print job wakes the monitor while another program's window is in front:
// the main window (and the save dialog it owns) must come forward, and the
// monitor must not stay tied to the other program's input afterwards. Wine
// keeps no foreground lock, so this shows the call's bookkeeping (joined the
// other way round, the other thread keeps the foreground), not that Windows
// would have refused a plain SetForegroundWindow.
TEST_F(Win32MainWindowTest, SetForegroundComesInFrontOfAnotherThreadsWindow) {
  window_->SetVisible(true);
  std::atomic<HWND> other{nullptr};
  std::atomic<DWORD> other_thread{0};
  std::atomic<bool> active_seen_there{true};
  std::thread printing_program([&] {
    HWND window = ::CreateWindowExA(0, "STATIC", "printing program",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                    100, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(window);
    other_thread = ::GetCurrentThreadId();
    other = window;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_APP) {
        active_seen_there = ::GetActiveWindow() != nullptr;
        continue;
      }
      ::DispatchMessageA(&message);
    }
    ::DestroyWindow(window);
  });
  EXPECT_TRUE(wine_test::PumpUntil(
      [&] { return other != nullptr && ::GetForegroundWindow() == other; },
      5000));

  window_->SetForeground();

  EXPECT_TRUE(wine_test::PumpUntil(
      [&] { return ::GetForegroundWindow() == handle_; }, 5000));
  // Still joined, the other thread would see this window as its active one.
  ::PostThreadMessageA(other_thread, WM_APP, 0, 0);
  ::PostThreadMessageA(other_thread, WM_QUIT, 0, 0);
  printing_program.join();
  EXPECT_FALSE(active_seen_there);
}

}  // namespace
}  // namespace plumeta::win32
