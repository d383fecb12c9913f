#include "platform/win32/notification_area.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32/win32_application.h"
#include "tests/wine/support/window_finder.h"
#include "widgets/image_list.h"
#include "widgets/tray_icon.h"

namespace plumeta::win32 {
namespace {

TEST(NotifyIconDataTest, CarriesTheRecordInTheShellFiveLayout) {
  platform::NotifyIconRecord record;
  record.size = 488;
  record.window = 0x1234;
  record.id = 0x89abcdef;
  record.flags = 7;
  record.callback_message = 0x800;
  record.icon = 0x5678;
  record.tip = std::string(127, 't');
  NOTIFYICONDATAA data = ToNotifyIconData(record);
  EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V2_SIZE);
  if (sizeof(void*) == 4) {
    EXPECT_EQ(data.cbSize, 488u);
  }
  EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(data.uID, 0x89abcdefu);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 0x800u);
  EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(0x5678));
  EXPECT_EQ(std::string(data.szTip), record.tip);
  EXPECT_EQ(data.uVersion, 0u);

  record.tip = std::string(200, 'x');  // never past the buffer
  data = ToNotifyIconData(record);
  EXPECT_EQ(std::string(data.szTip), std::string(127, 'x'));
}

TEST(NotificationAreaTest, ShellTakesAndDropsAnIcon) {
  Win32NotificationArea area;
  std::unique_ptr<platform::HiddenWindow> window =
      area.CreateHiddenWindow([](std::uint32_t, std::uintptr_t, std::intptr_t) {
        return std::optional<std::intptr_t>();
      });
  ASSERT_NE(window, nullptr);
  platform::NotifyIconRecord record;
  record.size = 488;
  record.window = window->Handle();
  record.id = 1;
  record.flags = 7;
  record.callback_message = 0x800;
  record.icon = area.LoadIconResource("TRAY0");
  record.tip = "Plumeta";
  ASSERT_NE(record.icon, 0u);

  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kAdd, record));
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kSetVersion, record));
  record.icon = area.LoadIconResource("TRAY3");
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kModify, record));
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kDelete, record));
  EXPECT_FALSE(area.NotifyIcon(platform::NotifyOperation::kModify, record))
      << "the icon has left the tray";
}

TEST(NotificationAreaTest, SystemFacts) {
  Win32NotificationArea area;
  std::optional<platform::ModuleVersion> version = area.CommonControlsVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_GE(*version, (platform::ModuleVersion{4, 71}));
  const std::uint32_t taskbar_created = area.RegisterMessage("TaskbarCreated");
  EXPECT_GE(taskbar_created, 0xC000u);
  EXPECT_EQ(area.RegisterMessage("TaskbarCreated"), taskbar_created);
  for (const char* name :
       {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"}) {
    EXPECT_NE(area.LoadIconResource(name), 0u) << name;
  }
  EXPECT_EQ(area.LoadIconResource("NOSUCHICON"), 0u);
}

class TrayIconTest : public ::testing::Test {
 protected:
  std::unique_ptr<widgets::TPlumTrayIcon> LoadedIcon() {
    auto icon = std::make_unique<widgets::TPlumTrayIcon>(app_, area_, nullptr);
    icon->SetIconList(&images_);
    icon->SetHint("Plumeta");
    icon->SetIconVisible(true);
    icon->Loaded();
    return icon;
  }

  Win32Application app_;
  Win32NotificationArea area_;
  widgets::TImageList images_{
      {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"}};
};

TEST_F(TrayIconTest, ShellNotificationsReachTheIcon) {
  auto icon = LoadedIcon();
  int double_clicks = 0;
  icon->SetOnDblClick(
      [&double_clicks](widgets::TPlumTrayIcon&) { ++double_clicks; });
  HWND handler = reinterpret_cast<HWND>(icon->Record().window);
  ASSERT_TRUE(::IsWindow(handler));

  ::PostMessageA(handler, 0x800, icon->Record().id, WM_LBUTTONDBLCLK);
  ::PostMessageA(handler, 0x800, icon->Record().id + 1, WM_LBUTTONDBLCLK);
  wine_test::PumpUntil([&] { return double_clicks > 0; }, 300);
  wine_test::PumpUntil([] { return false; }, 100);

  EXPECT_EQ(double_clicks, 1) << "only the icon's own uID reaches it";
}

TEST_F(TrayIconTest, ClosingTheHandlerWindowChangesNothing) {
  auto icon = LoadedIcon();
  HWND handler = reinterpret_cast<HWND>(icon->Record().window);

  EXPECT_EQ(::SendMessageA(handler, WM_CLOSE, 0, 0), 1);
  ::PostMessageA(handler, WM_CLOSE, 0, 0);
  wine_test::PumpUntil([] { return false; }, 200);

  EXPECT_TRUE(::IsWindow(handler));
  EXPECT_TRUE(icon->NotifyModify()) << "the icon is still in the tray";
}

TEST_F(TrayIconTest, TheIconLeavesTheTrayWithItsComponent) {
  auto icon = LoadedIcon();
  EXPECT_TRUE(icon->NotifyModify());
  platform::NotifyIconRecord record = icon->Record();
  HWND handler = reinterpret_cast<HWND>(record.window);

  icon.reset();

  EXPECT_FALSE(::IsWindow(handler));
  EXPECT_FALSE(area_.NotifyIcon(platform::NotifyOperation::kModify, record));
}

TEST_F(TrayIconTest, AnimatesThroughTheImagesOnRealTimers) {
  auto icon = LoadedIcon();
  const platform::IconHandle last_image = area_.LoadIconResource("TRAY5");
  bool last_shown = false;
  auto look = [&] {
    last_shown |= icon->IconIndex() == 5 && icon->Record().icon == last_image;
    return last_shown;
  };
  // Also before each message of the application window, each tick included:
  // while a busy tray holds a tick up, the next ones may come in the same
  // round of the pump and the cycle pass the last image unseen.
  const int hook = app_.AddApplicationHook(
      [&](std::uint32_t, std::uintptr_t, std::intptr_t) { look(); });
  icon->SetCycleInterval(50);
  icon->SetCycleIcons(true);
  EXPECT_TRUE(wine_test::PumpUntil(look, 5000));
  icon->SetCycleIcons(false);
  app_.RemoveApplicationHook(hook);
}

}  // namespace
}  // namespace plumeta::win32
