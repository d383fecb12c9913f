#include "platform/win32/user_interface.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/win32/scoped_handle.h"
#include "tests/wine/support/window_finder.h"

namespace plumeta::win32 {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

TEST(MessageBoxStyleTest, MapsButtonsAndIcons) {
  struct Row {
    MessageButtons buttons;
    MessageIcon icon;
    UINT style;
  } rows[] = {
      {MessageButtons::kOk, MessageIcon::kNone, 0x00},
      {MessageButtons::kOk, MessageIcon::kError, 0x10},
      {MessageButtons::kOkCancel, MessageIcon::kQuestion, 0x21},
      {MessageButtons::kYesNoCancel, MessageIcon::kWarning, 0x33},
      {MessageButtons::kYesNo, MessageIcon::kInformation, 0x44},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.style);
    EXPECT_EQ(MessageBoxStyle(row.buttons, row.icon), row.style);
  }
}

struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle window) { return ::DestroyWindow(window) != FALSE; }
};

// What the clicking thread saw of the box.
struct SeenBox {
  std::string text;
  HWND owner = nullptr;
  bool found = false;
};

// Waits for the visible box captioned `caption`, notes what it shows and
// clicks `button`, as a user would.
void ClickWhenShown(const std::string& caption, int button, SeenBox* seen) {
  HWND box = wine_test::WaitForWindow(
      [&] { return wine_test::FindVisibleWindow("#32770", caption.c_str()); },
      10000);
  if (box == nullptr) return;
  char text[256] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  seen->text = text;
  seen->owner = ::GetWindow(box, GW_OWNER);
  seen->found = ::GetDlgItem(box, button) != nullptr;
  ::PostMessageA(::GetDlgItem(box, button), BM_CLICK, 0, 0);
}

TEST(MessageBoxTest, ShowsTheBoxAndReturnsTheButtonClicked) {
  // The owner the main window will be.
  ScopedHandle<WindowTraits> main_window(
      ::CreateWindowExA(0, "STATIC", "Plumeta", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                        100, nullptr, nullptr, nullptr, nullptr));
  if (!main_window) {
    GTEST_SKIP() << "Wine cannot create windows here (no display: run under "
                    "xvfb-run to see the box)";
  }
  Win32UserInterface ui;
  ui.SetMainWindow(main_window.Get());
  struct Row {
    MessageButtons buttons;
    int button;
    MessageResult result;
    bool owned;
  } rows[] = {
      // Two boxes only: without a window manager each takes Wine about two
      // seconds to close (X11 "Managed" windows wait to be withdrawn).
      {MessageButtons::kOk, IDOK, MessageResult::kOk, true},
      {MessageButtons::kYesNoCancel, IDNO, MessageResult::kNo, false},
  };
  int row_number = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row_number);
    const std::string caption =
        "Plumeta box test " + std::to_string(row_number++);
    SeenBox seen;
    std::thread user(ClickWhenShown, caption, row.button, &seen);
    const MessageResult result =
        ui.MessageBox("File access denied.", caption, row.buttons,
                      MessageIcon::kError, row.owned);
    user.join();
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(seen.text, "File access denied.");
    EXPECT_EQ(seen.owner, row.owned ? main_window.Get() : nullptr);
  }
}

}  // namespace
}  // namespace plumeta::win32
