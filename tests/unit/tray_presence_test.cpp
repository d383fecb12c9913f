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
    EXPECT_EQ(main->BalloonControl1().Text(),
              std::vector<std::string>{"Creating Adobe PDF ..."});
    EXPECT_EQ(main->BalloonControl1().Duration(), 20);
    EXPECT_EQ(main->BalloonControl1().PixelCoordinateX(), 1600 - 90);
    EXPECT_EQ(main->BalloonControl1().PixelCoordinateY(), 900 - 25);
  }
}

TEST_F(TrayPresenceTest, MenuOrderWithTheTrayItems) {
  auto main = bed_.NewMain();
  std::vector<std::string> top;
  widgets::TMenuItem& items = main->popup_menu1().Items();
  for (int i = 0; i < items.Count(); ++i) {
    top.push_back(items.Item(i).Name() + ":" + items.Item(i).Caption());
  }
  EXPECT_EQ(top, (std::vector<std::string>{
                     "OpenMain1:&Open Main Window",
                     "N5:-",
                     "Viewlastresult1:&View Last Result",
                     "SaveLastResult1:&Save Last Result As",
                     "N4:-",
                     "PDFEncryptDecrpt1:PDF Quality",
                     "PDFMergeSplit1:PDF Version",
                     "PDFLayout1:PDF Security",
                     "PDFInfo1:PDF Password",
                     "PDFResolution1:PDF Resolution",
                     "N6:-",
                     "Configuration1:&Printing Preferences",
                     "ShowPDFwhendone1:Show PDF when done",
                     "SaveAutomatically1:Save Automatically...",
                     "CombineJobs1:Combine Jobs",
                     "SaveCombinedPDF1:Save Combined PDF...",
                     "N3:-",
                     "Options1:Set As Default Printer",
                     "Help1:&Help",
                     "HideIcon1:&Hide",
                     "Exit2:E&xit",
                 }));
  // No default item: a double click is the double-click handler's alone.
  for (int i = 0; i < items.Count(); ++i) {
    EXPECT_FALSE(items.Item(i).Default()) << items.Item(i).Name();
  }
}

TEST_F(TrayPresenceTest, OnlyShownEnabledCommandsCanBeClickedByName) {
  auto main = bed_.Start();
  main->popup_menu1().FindItem("OpenMain1")->SetEnabled(false);
  main->popup_menu1().FindItem("HideIcon1")->SetVisible(false);
  const struct {
    const char* name;
    bool clicked;
  } kRows[] = {
      {"N5", false},          // a separator
      {"PDFLayout1", false},  // a submenu
      {"OpenMain1", false},   // disabled
      {"HideIcon1", false},   // hidden
      {"Missing1", false},   {"N6001", true}, {"Printdocument1", true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(main->ClickMenuItem(row.name), row.clicked);
  }
  EXPECT_FALSE(bed_.window().visible);
  EXPECT_EQ(main->settings().resolution, "600");
  EXPECT_FALSE(main->popup_menu1().FindItem("Printdocument1")->Checked());
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
      {"double click",
       [](TMain& main) { main.TrayIcon1().HandleNotification(kLButtonDblClk); },
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
    EXPECT_EQ(main->TrayIcon1().IconVisible(), row.icon_in_tray);
    EXPECT_EQ(bed_.notification_area.Operations().back(),
              row.icon_in_tray ? "setversion" : "delete");
  }
}

TEST_F(TrayPresenceTest, TheIconIgnoresTheMouseUntilStepEight) {
  auto main = bed_.NewMain();
  bed_.spooler->on_list_printers = [&] {
    main->TrayIcon1().HandleNotification(kRButtonDown);
    main->TrayIcon1().HandleNotification(kLButtonDblClk);
  };
  main->Create();
  EXPECT_TRUE(bed_.dialogs->menus.empty());
  EXPECT_FALSE(bed_.window().visible);

  main->TrayIcon1().HandleNotification(kRButtonDown);
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
