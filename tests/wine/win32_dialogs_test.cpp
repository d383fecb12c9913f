// The text-input dialog, the save dialog and the popup menu, driven from a
// timer of the application, which ticks inside their modal loops.
#include "platform/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_popup_menu.h"
#include "tests/wine/support/window_finder.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using platform::MenuItemView;

constexpr char kLongPrompt[] =
    "You have set security settings for your PDF document, to enable this "
    "security feature, you should set a owner password for your PDF "
    "document:  ";

MenuItemView Item(const std::string& name, const std::string& caption) {
  MenuItemView item;
  item.name = name;
  item.caption = caption;
  return item;
}

class Win32DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application_.SetTitle("PlumetaDialogsTest");
    owner_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100,
                               100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    ui_.SetMainWindow(owner_);
  }
  void TearDown() override { ::DestroyWindow(owner_); }

  // Runs `act` on the first timer tick that finds the visible window of
  // that class and title; the dialog then goes on with what `act` did.
  void WhenShown(const char* class_name, const char* title,
                 std::function<void(HWND)> act) {
    application_.SetTimer(50, [this, class_name, title, act] {
      if (acted_) return;
      if (HWND window = wine_test::FindVisibleWindow(class_name, title)) {
        acted_ = true;
        act(window);
      }
    });
  }

  Win32Application application_;
  Win32UserInterface ui_;
  Win32Dialogs dialogs_{application_, ui_};
  HWND owner_ = nullptr;
  bool acted_ = false;
};

struct SeenInput {
  std::string prompt;
  std::string text;
  LRESULT limit = 0;
  LONG_PTR edit_style = 0;
  LONG_PTR ok_style = 0;
  HWND owner = nullptr;
  RECT prompt_rect{};
  RECT edit_rect{};
};

SeenInput Look(HWND dialog) {
  SeenInput seen;
  char text[512] = {};
  ::GetDlgItemTextA(dialog, kInputPromptId, text, sizeof(text));
  seen.prompt = text;
  HWND edit = ::GetDlgItem(dialog, kInputEditId);
  ::GetWindowTextA(edit, text, sizeof(text));
  seen.text = text;
  seen.limit = ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
  seen.edit_style = ::GetWindowLongPtrA(edit, GWL_STYLE);
  seen.ok_style = ::GetWindowLongPtrA(::GetDlgItem(dialog, IDOK), GWL_STYLE);
  seen.owner = ::GetWindow(dialog, GW_OWNER);
  ::GetWindowRect(::GetDlgItem(dialog, kInputPromptId), &seen.prompt_rect);
  ::GetWindowRect(edit, &seen.edit_rect);
  return seen;
}

TEST_F(Win32DialogsTest, InputBoxShowsItsFieldAndGivesTheTypedText) {
  SeenInput seen;
  WhenShown("#32770", "Set User Password", [&](HWND dialog) {
    seen = Look(dialog);
    ::SetDlgItemTextA(dialog, kInputEditId, "two words");
    ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialogs_.InputBox("Set User Password",
                              "Enter the User Password: ", "old"),
            "two words");
  EXPECT_EQ(seen.prompt, "Enter the User Password: ");
  EXPECT_EQ(seen.text, "old");
  EXPECT_EQ(seen.limit, 255);
  EXPECT_FALSE(seen.edit_style & ES_PASSWORD);  // shown in clear
  EXPECT_EQ(seen.ok_style & 0x0F, BS_DEFPUSHBUTTON);
  EXPECT_EQ(seen.owner, owner_);
}

TEST_F(Win32DialogsTest, CancelGivesTheInitialTextBack) {
  WhenShown("#32770", "Set Owner Password", [](HWND dialog) {
    ::SetDlgItemTextA(dialog, kInputEditId, "typed");
    ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialogs_.InputBox("Set Owner Password", "Enter: ", "kept"), "kept");
}

TEST_F(Win32DialogsTest, LongPromptWrapsAboveTheField) {
  SeenInput seen;
  WhenShown("#32770", "Owner Password Required", [&](HWND dialog) {
    seen = Look(dialog);
    ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialogs_.InputBox("Owner Password Required", kLongPrompt, ""), "");
  EXPECT_EQ(seen.prompt, kLongPrompt);
  const LONG prompt_height = seen.prompt_rect.bottom - seen.prompt_rect.top;
  const LONG edit_height = seen.edit_rect.bottom - seen.edit_rect.top;
  EXPECT_GT(prompt_height, 2 * edit_height);  // several lines
  EXPECT_LE(seen.prompt_rect.bottom, seen.edit_rect.top);
}

TEST_F(Win32DialogsTest, SaveDialogAddsTheDefaultExtension) {
  wine_test::ScratchFolder folder;
  std::string filter;
  WhenShown("#32770", nullptr, [&](HWND dialog) {
    HWND name = ::GetDlgItem(dialog, 0x47C);  // cmb13, the file name
    ::SendMessageA(name, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(folder.File("report").c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  const auto chosen = dialogs_.SaveDialog(
      {"Document.PDF", "Adobe PDF files (*.PDF)|*.PDF", "*.PDF"});
  ASSERT_TRUE(chosen.has_value());
  // The extension is added; Wine writes it in lower case.
  EXPECT_EQ(::lstrcmpiA(chosen->c_str(), folder.File("report.PDF").c_str()), 0)
      << *chosen;
}

TEST_F(Win32DialogsTest, SaveDialogCancelled) {
  WhenShown("#32770", nullptr, [](HWND dialog) {
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialogs_.SaveDialog({"x.PDF", "PDF (*.PDF)|*.PDF", "*.PDF"}),
            std::nullopt);
}

TEST(SaveDialogArgumentsTest, FilterAndExtension) {
  EXPECT_EQ(SaveDialogFilter("Adobe PDF files (*.PDF)|*.PDF"),
            std::string("Adobe PDF files (*.PDF)\0*.PDF\0\0", 31));
  EXPECT_EQ(SaveDialogDefaultExtension("*.PDF"), "PDF");
  EXPECT_EQ(SaveDialogDefaultExtension(".pdf"), "pdf");
  EXPECT_EQ(SaveDialogDefaultExtension("PDF"), "PDF");
  EXPECT_EQ(SaveDialogDefaultExtension(""), "");
}

std::vector<MenuItemView> SampleMenu() {
  MenuItemView hidden = Item("Hidden1", "Hidden");
  hidden.visible = false;
  MenuItemView first = Item("First1", "&First");
  first.is_default = true;
  MenuItemView second = Item("Second1", "Second");
  second.checked = true;
  second.radio = true;
  MenuItemView grey = Item("Grey1", "Grey");
  grey.enabled = false;
  grey.checked = true;
  MenuItemView submenu = Item("Sub1", "Sub");
  submenu.items = {Item("Leaf1", "Leaf")};
  return {hidden,
          first,
          second,
          Item("N1", "-"),
          grey,
          submenu,
          Item("Exit2", "E&xit")};
}

TEST(PopupMenuBuildTest, ItemsAsTheModelSays) {
  std::vector<std::string> names;
  ScopedMenu menu = BuildPopupMenu(SampleMenu(), &names);
  ASSERT_TRUE(menu);
  ASSERT_EQ(::GetMenuItemCount(menu.Get()), 6);  // the hidden one left out
  struct Expected {
    const char* text;
    UINT type;
    UINT state;
    const char* name;
  } rows[] = {
      {"&First", MFT_STRING, MFS_DEFAULT, "First1"},
      {"Second", MFT_STRING | MFT_RADIOCHECK, MFS_CHECKED, "Second1"},
      {"", MFT_SEPARATOR, 0, "N1"},
      {"Grey", MFT_STRING, MFS_CHECKED | MFS_GRAYED, "Grey1"},
      {"Sub", MFT_STRING, 0, "Sub1"},
      {"E&xit", MFT_STRING, 0, "Exit2"},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    char text[64] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    ASSERT_TRUE(::GetMenuItemInfoA(menu.Get(), i, TRUE, &info));
    EXPECT_STREQ(text, rows[i].text);
    EXPECT_EQ(info.fType & (MFT_SEPARATOR | MFT_RADIOCHECK),
              rows[i].type & (MFT_SEPARATOR | MFT_RADIOCHECK));
    EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_GRAYED | MFS_DEFAULT),
              rows[i].state);
    ASSERT_GE(info.wID, 1u);
    ASSERT_LE(info.wID, names.size());
    EXPECT_EQ(names[info.wID - 1], rows[i].name);
    EXPECT_EQ(info.hSubMenu != nullptr, i == 4);
  }
}

// The keyboard chooses as a user would: the down key twice passes the
// default item and lands on "Second".
TEST_F(Win32DialogsTest, TrackPopupMenuReturnsTheChosenItemsName) {
  WhenShown("#32768", nullptr, [](HWND menu) {
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  EXPECT_EQ(dialogs_.TrackPopupMenu(SampleMenu(), {300, 200}), "Second1");
}

TEST_F(Win32DialogsTest, TrackPopupMenuClosedWithoutAChoice) {
  WhenShown("#32768", nullptr,
            [](HWND menu) { ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0); });
  EXPECT_EQ(dialogs_.TrackPopupMenu(SampleMenu(), {300, 200}), "");
}

TEST_F(Win32DialogsTest, TrackPopupMenuAcceleratorKey) {
  WhenShown("#32768", nullptr,
            [](HWND menu) { ::PostMessageA(menu, WM_CHAR, 'x', 0); });
  EXPECT_EQ(dialogs_.TrackPopupMenu(SampleMenu(), {300, 200}), "Exit2");
}

}  // namespace
}  // namespace plumeta::win32
