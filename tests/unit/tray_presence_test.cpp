// The monitor in the notification area: the welcome balloon's rules, the
// menu with the tray's own items, the mouse on the icon, and the second copy
// that ends itself.
#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/main_form.h"
#include "platform/window_messages.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

using platform::PlatformId;
using platform::ProductType;
using platform::VersionInfo;

constexpr std::intptr_t kLButtonDblClk = platform::kWmLButtonDblClk;
constexpr std::intptr_t kRButtonDown = platform::kWmRButtonDown;

class TrayPresenceTest : public ::testing::Test {
 protected:
  bool Logged(const std::string& entry) const {
    const auto& log = bed_.widget_log.calls();
    return std::find(log.begin(), log.end(), entry) != log.end();
  }

  testing::MonitorTestBed bed_;
};

TEST_F(TrayPresenceTest, WelcomeBalloonNeedsAnArgumentAndNoNt4) {
  const VersionInfo kXp{PlatformId::kNt,          5, 1, 2600, "",
                        ProductType::kWorkstation};
  const VersionInfo kNt4{PlatformId::kNt,          4, 0, 1381, "",
                         ProductType::kWorkstation};
  const VersionInfo kNt4Server{PlatformId::kNt,     4, 0, 1381, "",
                               ProductType::kServer};
  // Windows 8 has no edition name of its own: the name is empty.
  const VersionInfo kWindows8{PlatformId::kNt,          6, 2, 9200, "",
                              ProductType::kWorkstation};
  const VersionInfo kWindows98{PlatformId::kWindows9x,   4, 10, 0x040A0000, "",
                               ProductType::kWorkstation};
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    VersionInfo version;
    bool shown;
  } kRows[] = {
      {"no argument", {}, kXp, false},
      {"an argument", {"1024"}, kXp, true},
      {"an empty argument", {""}, kXp, true},
      {"two arguments", {"a", "b"}, kXp, true},
      {"NT 4.0", {"1024"}, kNt4, false},
      {"NT 4.0 Server", {"1024"}, kNt4Server, false},
      {"Windows 8", {"1024"}, kWindows8, true},
      {"Windows 98", {"1024"}, kWindows98, true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed_.system->version = row.version;
    bed_.application->screen = {1600, 900};
    bed_.balloon_windows.shown.clear();
    auto main = bed_.Start(row.arguments);
    ASSERT_EQ(bed_.balloon_windows.shown.size(), row.shown ? 1u : 0u);
    if (row.shown) {
      const auto& layout = bed_.balloon_windows.shown[0].layout;
      EXPECT_EQ(layout.title, "Plumeta");
      EXPECT_EQ(layout.text,
                "Welcome to Plumeta\r\n"
                "Right-click the happy icon to display the menu");
      EXPECT_EQ(layout.duration_seconds, 6);
      EXPECT_EQ(layout.tip, (platform::Point{1600 - 90, 900 - 25}));
      EXPECT_EQ(layout.picture_name, "INFO");
    }
    // Whatever happened, the conversion balloon is ready for the watcher.
    main->ShowBalloon();
    const auto& conversion = bed_.balloon_windows.shown.back().layout;
    EXPECT_EQ(conversion.text, "Creating Adobe PDF ...");
    EXPECT_EQ(conversion.duration_seconds, 20);
    EXPECT_EQ(conversion.tip, (platform::Point{1600 - 90, 900 - 25}));
  }
}

// The menu shows its table's rows in order, submenus and all.
TEST_F(TrayPresenceTest, MenuOrderWithTheTrayItems) {
  auto main = bed_.NewMain();
  const std::vector<platform::MenuItemView> shown = bed_.ShownMenu(*main);
  auto names = [](const std::vector<platform::MenuItemView>& items) {
    std::vector<std::string> texts;
    for (const auto& item : items)
      texts.push_back(item.name + ":" + item.caption);
    return texts;
  };
  std::vector<std::string> top;
  for (const MenuRow& row : MainMenuRows()) {
    top.push_back(std::string(row.name) + ":" + row.caption);
  }
  EXPECT_EQ(names(shown), top);
  ASSERT_EQ(shown.size(), MainMenuRows().size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const MenuRow& row = MainMenuRows()[i];
    SCOPED_TRACE(row.name);
    std::vector<std::string> items;
    if (row.submenu != nullptr) {
      for (const MenuRow& item : row.submenu->rows) {
        items.push_back(std::string(item.name) + ":" + item.caption);
      }
    }
    EXPECT_EQ(names(shown[i].items), items);
    // No default item: a double click is the double-click handler's alone.
    EXPECT_FALSE(shown[i].is_default);
  }
  // The tray's own items sit around the settings.
  EXPECT_EQ(top.front(), "OpenMain1:&Open Main Window");
  EXPECT_EQ(top.back(), "Exit2:E&xit");
}

TEST_F(TrayPresenceTest, OnlyShownEnabledCommandsCanBeClickedByName) {
  // Hidden: Printing Preferences before NT 5.0, Save Automatically... when
  // the administrator has locked it.
  bed_.system->version = {platform::PlatformId::kNt, 4, 0, 1381, "",
                          ProductType::kWorkstation};
  bed_.StoreValue("AutoSaveFolder", platform::RegistryValue::String("C:\\Out"),
                  platform::RootKey::kLocalMachine);
  auto main = bed_.Start();
  const struct {
    const char* name;
    bool clicked;
  } kRows[] = {
      {"N5", false},                  // a separator
      {"PDFLayout1", false},          // a submenu
      {"Configuration1", false},      // hidden
      {"SaveAutomatically1", false},  // hidden
      {"Missing1", false},
      {"N6001", true},
      {"Printdocument1", true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(main->ClickMenuItem(row.name), row.clicked);
  }
  EXPECT_FALSE(bed_.window().visible);
  EXPECT_NE(bed_.ResponseFile().find("-r600"), std::string::npos);
  EXPECT_FALSE(bed_.ShownItem(*main, "Printdocument1").checked);
}

TEST_F(TrayPresenceTest, StartPutsTheIconInTheTrayAndKeepsTheWindowHidden) {
  auto main = bed_.Start();
  EXPECT_FALSE(main->show_main_form());
  EXPECT_FALSE(bed_.window().visible);
  ASSERT_FALSE(bed_.notification_area.calls.empty());
  const auto& record = bed_.notification_area.calls.back().record;
  EXPECT_EQ(record.tip, "Plumeta");
  EXPECT_EQ(record.icon, 0x100u);  // TRAY0
  EXPECT_EQ(record.image_index, 0);
  // Not animating until the watcher says so.
  EXPECT_EQ(bed_.application->timers.size(), 1u);
}

TEST_F(TrayPresenceTest, TheMouseAndTheTrayItems) {
  const struct {
    const char* name;
    std::function<void(TMain&)> act;
    bool window_visible;
    bool icon_in_tray;
    bool activated;  // the revealed window is the active one
  } kRows[] = {
      {"double click", [this](TMain&) { bed_.TrayNotify(kLButtonDblClk); },
       true, true, true},
      {"Open Main Window", [](TMain& main) { main.ClickMenuItem("OpenMain1"); },
       true, true, true},
      {"Hide", [](TMain& main) { main.ClickMenuItem("HideIcon1"); }, false,
       false, false},
      {"opened, then closed",
       [](TMain& main) {
         main.ClickMenuItem("OpenMain1");
         main.window().Close();
       },
       false, true, true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    auto main = bed_.Start();
    row.act(*main);
    EXPECT_EQ(bed_.window().visible, row.window_visible);
    EXPECT_EQ(bed_.window().foreground_requests > 0, row.activated);
    EXPECT_EQ(bed_.notification_area.Operations().back(),
              row.icon_in_tray ? "setversion" : "delete");
  }
}

TEST_F(TrayPresenceTest, TheIconIgnoresTheMouseUntilStepEight) {
  auto main = bed_.NewMain();
  bed_.spooler->on_list_printers = [&] {
    bed_.TrayNotify(kRButtonDown);
    bed_.TrayNotify(kLButtonDblClk);
  };
  main->Create();
  EXPECT_TRUE(bed_.dialogs->menus.empty());
  EXPECT_FALSE(bed_.window().visible);

  bed_.TrayNotify(kRButtonDown);
  ASSERT_EQ(bed_.dialogs->menus.size(), 1u);
  EXPECT_EQ(bed_.dialogs->menus[0].items.front().name, "OpenMain1");
}

TEST_F(TrayPresenceTest, ASecondCopyBringsTheFirstForwardAndEnds) {
  const platform::TopLevelWindow kOwn{1, "TApplication", "Plumeta"};
  const struct {
    const char* name;
    std::vector<platform::TopLevelWindow> windows;
    bool ends;
  } kRows[] = {
      {"alone", {kOwn}, false},
      {"another copy", {{7, "TApplication", "Plumeta"}, kOwn}, true},
      {"another program, same title",
       {{7, "TOtherClass", "Plumeta"}, kOwn},
       false},
      {"another program, same class",
       {{7, "TApplication", "Other"}, kOwn},
       false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed_.application->terminated = false;
    bed_.widget_log.Clear();
    // The running copy's file, with a setting the registry does not hold.
    const std::string running = "-r600\r\n\r\n";
    bed_.files->files = {{testing::kResponseFile, running}};
    bed_.top_level_windows.windows = row.windows;
    auto main = bed_.Start();
    EXPECT_EQ(bed_.application->terminated, row.ends);
    EXPECT_EQ(Logged("BringWindowToTop 0x7"), row.ends);
    // A copy that ends leaves the file alone.
    EXPECT_EQ(bed_.ResponseFile() == running, row.ends);
  }
}

}  // namespace
}  // namespace plumeta
