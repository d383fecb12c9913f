#include "widgets/tray_icon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/window_messages.h"
#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/fake_dialogs.h"
#include "tests/unit/support/widget_fakes.h"

namespace plumeta::widgets {
namespace {

using testing::CallLog;
using ::testing::ElementsAre;
using testing::FakeApplication;
using testing::FakeDialogs;
using testing::FakeNotificationArea;
using testing::FakeWindow;

constexpr std::intptr_t kLButtonDblClk = platform::kWmLButtonDblClk;
constexpr std::intptr_t kRButtonDown = platform::kWmRButtonDown;
constexpr std::intptr_t kRButtonUp = platform::kWmRButtonUp;

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    app_.cursor = platform::Point{1200, 1000};
    app_.application_window_visible = true;
  }

  // The tray monitor's icon: six images at 500 ms, disabled until start-up
  // enables it, hint "Plumeta", visible, with the popup menu.
  std::unique_ptr<TPlumTrayIcon> MonitorIcon() {
    auto icon = std::make_unique<TPlumTrayIcon>(app_, area_, &window_);
    icon->SetIconList(&images_);
    icon->SetCycleInterval(500);
    icon->SetEnabled(false);
    icon->SetHint("Plumeta");
    icon->SetIcon("MAINICON");
    icon->SetIconVisible(true);
    icon->SetIconIndex(0);
    icon->SetPopupMenu(&menu_);
    icon->SetMinimizeToTray(true);
    return icon;
  }

  // A loaded monitor icon, enabled, with the calls so far forgotten.
  std::unique_ptr<TPlumTrayIcon> RunningIcon() {
    auto icon = MonitorIcon();
    icon->Loaded();
    icon->SetEnabled(true);
    area_.calls.clear();
    log_.Clear();
    return icon;
  }

  void Notify(TPlumTrayIcon& icon, std::intptr_t mouse_message) {
    TTrayIconHandler::Instance()->HandleMessage(
        TPlumTrayIcon::kCallbackMessage,
        reinterpret_cast<std::uintptr_t>(&icon), mouse_message);
  }

  CallLog log_;
  FakeApplication app_{log_};
  FakeWindow window_{log_};
  FakeDialogs dialogs_{log_};
  FakeNotificationArea area_{log_};
  TImageList images_{{"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"}};
  TPopupMenu menu_{dialogs_};
};

TEST_F(TrayIconTest, LoadingPutsTheIconIntoTheTrayOnce) {
  auto icon = MonitorIcon();
  EXPECT_TRUE(area_.calls.empty()) << "the stored settings only store";

  EXPECT_TRUE(icon->Loaded());

  EXPECT_THAT(area_.Operations(), ElementsAre("modify", "add", "setversion"));
  const platform::NotifyIconRecord& record = area_.calls[1].record;
  EXPECT_EQ(record.size, 488u);
  EXPECT_EQ(record.window, FakeNotificationArea::kHandlerWindow);
  EXPECT_EQ(record.id, static_cast<std::uint32_t>(
                           reinterpret_cast<std::uintptr_t>(icon.get())));
  EXPECT_EQ(record.flags, 7u);
  EXPECT_EQ(record.callback_message, 0x800u);
  EXPECT_EQ(record.icon, 0x100u) << "image 0 of the list";
  EXPECT_EQ(record.tip, "Plumeta");
  EXPECT_EQ(area_.calls[2].record.version, 0u);
}

TEST_F(TrayIconTest, IconIndexIsClampedToTheList) {
  struct Row {
    const char* name;
    bool with_list;
    int index;
    int expected_index;
    platform::IconHandle expected_icon;
  };
  const Row rows[] = {
      {"past the end shows the last image", true, 10, 5, 0x105},
      {"inside the list", true, 3, 3, 0x103},
      {"the last image", true, 5, 5, 0x105},
      {"no list keeps 0", false, 3, 0, 0x200},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPlumTrayIcon icon(app_, area_, &window_);
    icon.SetIcon("MAINICON");
    if (row.with_list) icon.SetIconList(&images_);
    icon.Loaded();
    area_.calls.clear();

    icon.SetIconIndex(row.index);

    EXPECT_EQ(icon.IconIndex(), row.expected_index);
    ASSERT_EQ(area_.Operations(), std::vector<std::string>{"modify"});
    EXPECT_EQ(area_.calls[0].record.icon, row.expected_icon);
    EXPECT_EQ(area_.calls[0].record.image_index, row.expected_index);
  }
}

TEST_F(TrayIconTest, ForgetsAnImageListThatIsDestroyed) {
  auto list = std::make_unique<TImageList>(
      std::vector<std::string>{"TRAY0", "TRAY1", "TRAY2"});
  TPlumTrayIcon icon(app_, area_, nullptr);
  icon.SetIconList(list.get());
  icon.SetIconIndex(2);
  icon.SetCycleInterval(500);
  icon.SetCycleIcons(true);

  list.reset();
  EXPECT_EQ(icon.IconList(), nullptr);
  EXPECT_EQ(icon.IconIndex(), 0);
  app_.FireTimers(500);  // a tick without a list does nothing
  EXPECT_EQ(icon.IconIndex(), 0);
}

TEST_F(TrayIconTest, AnimationStepsThroughEveryImageAndBack) {
  auto icon = RunningIcon();
  icon->SetCycleIcons(true);
  ASSERT_EQ(app_.OnlyTimerInterval(), 500u);

  std::vector<int> shown{
      static_cast<int>(area_.calls.back().record.icon - 0x100)};
  for (int tick = 0; tick < 6; ++tick) {
    std::size_t before = area_.calls.size();
    ASSERT_EQ(app_.FireTimers(500), 1);
    EXPECT_EQ(area_.calls.size(), before + 1) << "one update per tick";
    shown.push_back(static_cast<int>(area_.calls.back().record.icon - 0x100));
    EXPECT_EQ(icon->IconIndex(), shown.back());
  }
  EXPECT_THAT(shown, ElementsAre(0, 1, 2, 3, 4, 5, 0));
}

TEST_F(TrayIconTest, StoppingTheAnimationKeepsTheCurrentImage) {
  auto icon = RunningIcon();
  icon->SetCycleIcons(true);
  app_.FireTimers(500);
  app_.FireTimers(500);

  icon->SetCycleIcons(false);

  EXPECT_TRUE(app_.timers.empty());
  EXPECT_EQ(icon->IconIndex(), 2);
  EXPECT_EQ(area_.calls.back().record.icon, 0x102u);
}

TEST_F(TrayIconTest, NewIntervalRestartsARunningAnimationAtImage0) {
  auto icon = RunningIcon();
  icon->SetCycleIcons(true);
  for (int tick = 0; tick < 3; ++tick) app_.FireTimers(500);
  ASSERT_EQ(icon->IconIndex(), 3);

  icon->SetCycleInterval(250);

  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_EQ(area_.calls.back().record.icon, 0x100u);
  EXPECT_EQ(app_.OnlyTimerInterval(), 250u);
  app_.FireTimers(250);
  EXPECT_EQ(icon->IconIndex(), 1);
}

TEST_F(TrayIconTest, IntervalZeroNeverAnimates) {
  TPlumTrayIcon icon(app_, area_, nullptr);
  icon.SetIconList(&images_);
  icon.Loaded();
  icon.SetIconIndex(4);

  icon.SetCycleIcons(true);

  EXPECT_EQ(icon.IconIndex(), 0) << "image 0 is shown";
  EXPECT_TRUE(app_.timers.empty());
  EXPECT_FALSE(icon.AnimationTimer().Running());

  icon.SetCycleInterval(500);  // a running animation picks the interval up
  EXPECT_EQ(app_.OnlyTimerInterval(), 500u);
  icon.SetCycleInterval(0);
  EXPECT_TRUE(app_.timers.empty());
}

TEST_F(TrayIconTest, AFailingTimerLeavesTheAnimationStopped) {
  app_.refuse_timers = true;
  auto icon = RunningIcon();
  icon->SetCycleIcons(true);
  EXPECT_FALSE(icon->AnimationTimer().Enabled());
  EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIconTest, TooltipIsCutAt127CharactersAndFollowsShowHint) {
  struct Row {
    const char* name;
    std::string hint;
    bool show_hint;
    std::string expected_tip;
  };
  const std::string long_hint = std::string(127, 'a') + std::string(73, 'b');
  const Row rows[] = {
      {"200 characters show 127", long_hint, true, std::string(127, 'a')},
      {"127 characters stay whole", std::string(127, 'c'), true,
       std::string(127, 'c')},
      {"ShowHint false shows none", "Plumeta", false, ""},
      {"empty hint", "", true, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPlumTrayIcon icon(app_, area_, nullptr);
    icon.Loaded();
    icon.SetHint(row.hint);
    icon.SetShowHint(row.show_hint);
    EXPECT_EQ(area_.calls.back().record.tip, row.expected_tip);
    EXPECT_EQ(icon.Hint(), row.hint);
  }
}

TEST_F(TrayIconTest, RightClickOpensTheMenuAtTheCursor) {
  auto icon = RunningIcon();

  Notify(*icon, kRButtonDown);

  EXPECT_THAT(
      log_.calls(),
      ElementsAre("SetForegroundWindow 0x4242", "SetForegroundWindow 0x4242",
                  "app process-messages", "dialogs popup-menu 1200,1000",
                  "Window.PostWindowMessage 0x0 0x0 0x0"));
  EXPECT_EQ(menu_.PopupComponent(), icon.get());
}

TEST_F(TrayIconTest, MouseMessagesThatOpenNoMenu) {
  struct Row {
    const char* name;
    bool enabled;
    bool auto_popup;
    bool cursor_known;
    std::intptr_t message;
  };
  const Row rows[] = {
      {"disabled icon", false, true, true, kRButtonDown},
      {"menu without AutoPopup", true, false, true, kRButtonDown},
      {"cursor position unknown", true, true, false, kRButtonDown},
      {"releasing the button", true, true, true, kRButtonUp},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto icon = RunningIcon();
    icon->SetEnabled(row.enabled);
    menu_.SetAutoPopup(row.auto_popup);
    if (!row.cursor_known) app_.cursor.reset();

    Notify(*icon, row.message);

    EXPECT_TRUE(dialogs_.menus.empty());
    menu_.SetAutoPopup(true);
    app_.cursor = platform::Point{1200, 1000};
  }
}

TEST_F(TrayIconTest, DoubleClickCallsOnDblClickThenTheFirstDefaultItem) {
  std::vector<std::string> clicks;
  auto add_item = [&](const char* name, bool is_default) {
    TMenuItem& item = menu_.Items().Add(name, name);
    item.SetDefault(is_default);
    item.SetOnClick(
        [&clicks](TMenuItem& sender) { clicks.push_back(sender.Name()); });
  };
  add_item("Plain1", false);
  add_item("OpenMain1", true);
  add_item("Other1", true);
  auto icon = RunningIcon();
  icon->SetOnDblClick([&clicks](TPlumTrayIcon&) { clicks.push_back("dbl"); });

  Notify(*icon, kLButtonDblClk);

  EXPECT_THAT(clicks, ElementsAre("dbl", "OpenMain1"));
}

TEST_F(TrayIconTest, DoubleClickWithoutDefaultItemOrWhileDisabled) {
  int double_clicks = 0;
  int item_clicks = 0;
  menu_.Items().Add("Plain1", "Plain").SetOnClick([&item_clicks](TMenuItem&) {
    ++item_clicks;
  });
  auto icon = RunningIcon();
  icon->SetOnDblClick([&double_clicks](TPlumTrayIcon&) { ++double_clicks; });

  Notify(*icon, kLButtonDblClk);
  EXPECT_EQ(double_clicks, 1);
  EXPECT_EQ(item_clicks, 0);

  icon->SetEnabled(false);
  Notify(*icon, kLButtonDblClk);
  EXPECT_EQ(double_clicks, 1);
}

TEST_F(TrayIconTest, TaskbarCreatedReAddsOnlyAVisibleIcon) {
  auto icon = RunningIcon();
  app_.SendApplicationMessage(FakeNotificationArea::kTaskbarCreated, 0, 0);
  EXPECT_THAT(area_.Operations(), ElementsAre("add"));

  icon->SetIconVisible(false);
  area_.calls.clear();
  app_.SendApplicationMessage(FakeNotificationArea::kTaskbarCreated, 0, 0);
  EXPECT_TRUE(area_.calls.empty());
}

TEST_F(TrayIconTest, OldCommonControlsRegisterNoTaskbarMessage) {
  area_.common_controls = platform::ModuleVersion{4, 70};
  auto icon = RunningIcon();
  EXPECT_EQ(TTrayIconHandler::Instance()->TaskbarCreatedMessage(), 0u);
  app_.SendApplicationMessage(FakeNotificationArea::kTaskbarCreated, 0, 0);
  app_.SendApplicationMessage(0, 0, 0);
  EXPECT_TRUE(area_.calls.empty());
}

TEST_F(TrayIconTest, RefusedShellCallsLeaveTheStateAsSet) {
  area_.accept = false;
  auto icon = RunningIcon();
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_FALSE(icon->NotifyAdd());
  EXPECT_TRUE(icon->IconVisible());
}

TEST_F(TrayIconTest, HandlerWindowIgnoresCloseAndAgreesToEndTheSession) {
  auto icon = RunningIcon();
  TTrayIconHandler& handler = *TTrayIconHandler::Instance();
  for (std::uint32_t message : {2u, 16u, 17u, 18u, 22u, 130u}) {
    SCOPED_TRACE(message);
    EXPECT_EQ(handler.HandleMessage(message, 0, 0), 1);
  }
  EXPECT_EQ(handler.HandleMessage(0x0113, 0, 0), std::nullopt)
      << "other messages get default processing";
  EXPECT_EQ(area_.hidden_windows_alive, 1);
  EXPECT_TRUE(area_.calls.empty());
}

TEST_F(TrayIconTest, NotificationForAnUnknownIconIsDropped) {
  auto icon = RunningIcon();
  int double_clicks = 0;
  icon->SetOnDblClick([&double_clicks](TPlumTrayIcon&) { ++double_clicks; });
  TTrayIconHandler::Instance()->HandleMessage(TPlumTrayIcon::kCallbackMessage,
                                              0xdead0, kLButtonDblClk);
  EXPECT_EQ(double_clicks, 0);
  Notify(*icon, kLButtonDblClk);
  EXPECT_EQ(double_clicks, 1);
}

TEST_F(TrayIconTest, OneHandlerWindowServesEveryIconOfTheProcess) {
  ASSERT_EQ(TTrayIconHandler::Instance(), nullptr);
  auto first = std::make_unique<TPlumTrayIcon>(app_, area_, nullptr);
  auto second = std::make_unique<TPlumTrayIcon>(app_, area_, nullptr);
  EXPECT_EQ(area_.hidden_windows_created, 1);
  EXPECT_EQ(TTrayIconHandler::Instance()->References(), 2);
  EXPECT_EQ(first->Record().window, second->Record().window);

  first.reset();
  EXPECT_EQ(area_.hidden_windows_alive, 1);
  second.reset();
  EXPECT_EQ(area_.hidden_windows_alive, 0);
  EXPECT_EQ(TTrayIconHandler::Instance(), nullptr);
}

TEST_F(TrayIconTest, MinimisingSendsTheProgramToTheTray) {
  auto icon = RunningIcon();
  icon->SetIconVisible(false);
  log_.Clear();
  area_.calls.clear();

  app_.SendApplicationMessage(0x0005, 1, 0);  // WM_SIZE, SIZE_MINIMIZED

  EXPECT_THAT(log_.calls(),
              ElementsAre("Window.Hide", "app hide-window", "NotifyIcon add"));
  EXPECT_TRUE(icon->IconVisible());
}

TEST_F(TrayIconTest, MinimisingWithoutMinimizeToTrayChangesNothing) {
  auto icon = RunningIcon();
  icon->SetMinimizeToTray(false);
  app_.SendApplicationMessage(0x0005, 1, 0);
  app_.SendApplicationMessage(0x0005, 0, 0);  // SIZE_RESTORED
  EXPECT_TRUE(log_.calls().empty());
}

TEST_F(TrayIconTest, RestoreCommandShowsTheMainWindowInItsNormalState) {
  auto icon = RunningIcon();
  window_.visible = false;
  window_.minimized = true;

  app_.SendApplicationMessage(platform::kWmSysCommand, platform::kScRestore | 2,
                              0);  // + system bits

  EXPECT_THAT(log_.calls(), ElementsAre("Window.Normal", "Window.Show"));
}

TEST_F(TrayIconTest, StartupEventCanKeepTheMainWindowHidden) {
  auto icon = MonitorIcon();
  bool asked = false;
  icon->SetOnStartup([&asked](TPlumTrayIcon&, bool& show_main_form) {
    asked = true;
    EXPECT_TRUE(show_main_form);
    show_main_form = false;
  });

  EXPECT_FALSE(icon->Loaded());

  EXPECT_TRUE(asked);
  EXPECT_FALSE(window_.visible);
  EXPECT_FALSE(app_.application_window_visible) << "no taskbar button";
}

TEST_F(TrayIconTest, RevealAndConcealTheMainWindow) {
  auto icon = RunningIcon();
  window_.minimized = true;
  window_.visible = false;
  icon->RevealMainWindow();
  EXPECT_THAT(log_.calls(),
              ElementsAre("app restore", "Window.Normal", "Window.Show",
                          "app foreground-window"));

  log_.Clear();
  app_.application_window_visible = false;
  icon->ConcealMainWindow();
  EXPECT_THAT(log_.calls(), ElementsAre("Window.Hide"))
      << "a hidden taskbar button is left alone";
}

TEST_F(TrayIconTest, ShowingTheOwnerBringsTheProgramForward) {
  auto icon = RunningIcon();
  window_.Send(0x0018, 1, 0);  // WM_SHOWWINDOW by a show call
  window_.Send(0x0018, 1, 3);  // shown because its owner was restored
  window_.Send(0x0018, 0, 0);  // hidden
  EXPECT_THAT(log_.calls(),
              ElementsAre("app foreground-window", "Window.Foreground"));
}

TEST_F(TrayIconTest, DestructionDeletesTheIconAndReleasesEverything) {
  auto icon = RunningIcon();
  icon->SetCycleIcons(true);
  area_.calls.clear();

  icon.reset();

  EXPECT_THAT(area_.Operations(), ElementsAre("delete"));
  EXPECT_TRUE(app_.timers.empty());
  EXPECT_TRUE(app_.hooks.empty());
  EXPECT_TRUE(window_.hooks.empty());
  EXPECT_EQ(area_.hidden_windows_alive, 0);
}

}  // namespace
}  // namespace plumeta::widgets
