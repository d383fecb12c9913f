// The Win32 application: its hidden window, the message loop, timers that
// tick inside modal loops, posted calls.
#include "platform/win32/win32_application.h"

#include <gtest/gtest.h>

#include "platform/win32/user_interface.h"
#include "tests/wine/support/window_finder.h"

namespace plumeta::win32 {
namespace {

constexpr char kTitle[] = "PlumetaApplicationTest";

TEST(Win32ApplicationTest, HiddenApplicationWindowNamedForTheTitle) {
  Win32Application application;
  application.SetTitle(kTitle);
  HWND window = application.Handle();
  ASSERT_NE(window, nullptr);
  // Found by class and title, as the single-instance guard finds it, and
  // named to it by its handle.
  EXPECT_EQ(::FindWindowA(kTitle, kTitle), window);
  EXPECT_EQ(application.ApplicationWindowHandle(),
            reinterpret_cast<std::uintptr_t>(window));
  EXPECT_FALSE(application.ApplicationWindowVisible());
  application.SetTitle("Renamed");
  char text[64] = {};
  ::GetWindowTextA(window, text, sizeof(text));
  EXPECT_STREQ(text, "Renamed");
  EXPECT_EQ(application.Title(), "Renamed");
}

TEST(Win32ApplicationTest, PostedCallsRunFromTheLoopInOrder) {
  Win32Application application;
  application.SetTitle(kTitle);
  std::string order;
  application.Post([&] {
    order += "a";
    application.Post([&] { order += "c"; });
  });
  application.Post([&] { order += "b"; });
  EXPECT_EQ(order, "");
  application.ProcessMessages();
  application.ProcessMessages();
  EXPECT_EQ(order, "abc");
}

TEST(Win32ApplicationTest, TimersTickUntilKilled) {
  Win32Application application;
  application.SetTitle(kTitle);
  int ticks = 0;
  const auto timer = application.SetTimer(20, [&] { ++ticks; });
  ASSERT_NE(timer, 0u);
  const DWORD start = ::GetTickCount();
  while (ticks < 3 && ::GetTickCount() - start < 5000) {
    application.WaitForMessages(100);
  }
  EXPECT_GE(ticks, 3);
  application.KillTimer(timer);
  const int seen = ticks;
  application.WaitForMessages(100);
  application.WaitForMessages(100);
  EXPECT_EQ(ticks, seen);
}

TEST(Win32ApplicationTest, RunEndsOnTerminateEvenFromATimer) {
  Win32Application application;
  application.SetTitle(kTitle);
  int ticks = 0;
  application.SetTimer(10, [&] {
    if (++ticks == 2) application.Terminate();
  });
  application.Run();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(ticks, 2);
}

TEST(Win32ApplicationTest, HooksSeeTheApplicationWindowsMessages) {
  Win32Application application;
  application.SetTitle(kTitle);
  int timer_messages = 0;
  const int hook = application.AddApplicationHook(
      [&](std::uint32_t message, std::uintptr_t, std::intptr_t) {
        if (message == WM_TIMER) ++timer_messages;
      });
  int ticks = 0;
  application.SetTimer(10, [&] { ++ticks; });
  wine_test::PumpUntil([&] { return ticks >= 2; }, 5000);
  EXPECT_EQ(timer_messages, ticks);
  application.RemoveApplicationHook(hook);
  wine_test::PumpUntil([&] { return ticks >= 4; }, 5000);
  EXPECT_LT(timer_messages, ticks);
}

// The shell's broadcast that it has started anew: the tray icon puts its
// icon back when it sees it.
TEST(Win32ApplicationTest, HooksSeeTheShellsTaskbarCreated) {
  Win32Application application;
  application.SetTitle(kTitle);
  const UINT taskbar_created = ::RegisterWindowMessageA("TaskbarCreated");
  ASSERT_NE(taskbar_created, 0u);
  int seen = 0;
  application.AddApplicationHook(
      [&](std::uint32_t message, std::uintptr_t, std::intptr_t) {
        if (message == taskbar_created) ++seen;
      });
  ::PostMessageA(application.Handle(), taskbar_created, 0, 0);
  EXPECT_TRUE(wine_test::PumpUntil([&] { return seen == 1; }, 5000));
}

// A message box runs its own modal loop; the application's timers tick in
// it, and here one of them closes the box as a user would.
TEST(Win32ApplicationTest, TimersTickInsideAMessageBox) {
  Win32Application application;
  application.SetTitle(kTitle);
  Win32UserInterface ui;
  int ticks = 0;
  application.SetTimer(50, [&] {
    ++ticks;
    HWND box = wine_test::FindVisibleWindow("#32770", "Timer box");
    if (box != nullptr && ticks >= 3) {
      ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    }
  });
  EXPECT_EQ(ui.MessageBox("waiting", "Timer box", platform::MessageButtons::kOk,
                          platform::MessageIcon::kNone, false),
            platform::MessageResult::kOk);
  EXPECT_GE(ticks, 3);
}

}  // namespace
}  // namespace plumeta::win32
