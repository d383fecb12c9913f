#include "monitor/main_form.h"

#include <gtest/gtest.h>

#include "platform/window_messages.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;
using platform::RootKey;

class MainFormTest : public ::testing::Test {
 protected:
  testing::MonitorTestBed bed_;
};

// Windows XP: the Run value starts the monitor at log-on.
const platform::VersionInfo kXp{
    platform::PlatformId::kNt,          5, 1, 2600, "Service Pack 3",
    platform::ProductType::kWorkstation};

TEST_F(MainFormTest, StartUpRunsItsStepsInOrder) {
  bed_.system->version = kXp;
  auto main = bed_.NewMain({"/welcome"});
  platform::PrinterInfo2 plumeta;
  plumeta.printer_name = "Plumeta";
  bed_.spooler->printers.push_back({plumeta, {}});
  std::vector<std::string> steps;
  bed_.spooler->on_list_printers = [&] {
    // The Run value is written before the printer list; the icon is in the
    // tray already, but deaf until step 8.
    steps.push_back("5 " + bed_.Stored(RootKey::kLocalMachine, testing::kRunKey,
                                       "Plumeta"));
    bed_.TrayNotify(platform::kWmRButtonDown);
    steps.push_back(std::string("icon ") +
                    (bed_.dialogs->menus.empty() ? "deaf" : "enabled"));
    steps.push_back("result " + main->LastResult());
  };
  main->Create();
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "5 C:\\Program Files\\Plumeta\\plumeta.exe",
                       "icon deaf",
                       "result ",
                   }));
  EXPECT_EQ(bed_.notification_area.Operations(),
            (std::vector<std::string>{"modify", "add", "setversion"}));
  EXPECT_EQ(main->LastResult(), "C:\\Temp\\1024.pdf");
  bed_.TrayNotify(platform::kWmRButtonDown);
  EXPECT_EQ(bed_.dialogs->menus.size(), 1u);  // the icon answers
  EXPECT_TRUE(bed_.window().controls["Image2"]);
  EXPECT_NE(bed_.ResponseFile(), "<missing>");
  // Steps 11 to 13: the welcome balloon shown at the placed point, then the
  // conversion balloon prepared.
  ASSERT_EQ(bed_.balloon_windows.shown.size(), 1u);
  EXPECT_EQ(bed_.balloon_windows.shown[0].layout.tip,
            (platform::Point{1024 - 90, 768 - 25}));
  main->ShowBalloon();
  EXPECT_EQ(bed_.balloon_windows.shown.back().layout.text,
            "Creating Adobe PDF ...");
  EXPECT_EQ(bed_.balloon_windows.shown.back().layout.duration_seconds, 20);
  EXPECT_FALSE(main->show_main_form());
  EXPECT_FALSE(bed_.window().visible);
  EXPECT_TRUE(bed_.ui->messages.empty());
}

TEST_F(MainFormTest, OsNameAndWow64) {
  bed_.system->is_wow64 = true;
  bed_.system->version =
      platform::VersionInfo{platform::PlatformId::kNt,     6, 0, 6002, "",
                            platform::ProductType::kServer};
  auto main = bed_.Start();
  // Under WOW64 the argument file goes into both system folders.
  EXPECT_NE(bed_.files->files.count("C:\\WINDOWS\\SysWOW64\\plum.rsp"), 0u);
  EXPECT_EQ(main->OsName(), "Microsoft Windows Server 2008");
}

TEST_F(MainFormTest, PrintingPreferencesShownOnTheNtFamilyFromVersionFive) {
  const struct {
    platform::PlatformId platform;
    std::uint32_t major, minor;
    bool shown;
  } kRows[] = {
      {platform::PlatformId::kWindows9x, 4, 10, false},
      {platform::PlatformId::kNt, 4, 0, false},
      {platform::PlatformId::kNt, 5, 0, true},
      {platform::PlatformId::kNt, 6, 1, true},
      {platform::PlatformId::kNt, 6, 2, true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(::testing::Message() << row.major << "." << row.minor);
    bed_.system->version = platform::VersionInfo{
        row.platform, row.major,
        row.minor,    0,
        "",           platform::ProductType::kWorkstation};
    auto main = bed_.Start();
    EXPECT_EQ(bed_.ShownItem(*main, "N6").visible, row.shown);
    EXPECT_EQ(bed_.ShownItem(*main, "Configuration1").visible, row.shown);
  }
}

TEST_F(MainFormTest, RunValueFailureIsShownAndTheStartUpGoesOn) {
  // The key cannot be opened: a registry without HKLM write access.
  class NoLocalMachine : public host::MemoryRegistry {
   public:
    platform::ErrorCode OpenKey(
        RootKey root, const std::string& path, bool create,
        std::unique_ptr<platform::RegistryKey>* key) override {
      if (root == RootKey::kLocalMachine) return platform::kErrorAccessDenied;
      return MemoryRegistry::OpenKey(root, path, create, key);
    }
  };
  bed_.platform.registry = std::make_unique<NoLocalMachine>();
  bed_.system->version = kXp;
  auto main = bed_.Start();
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  EXPECT_EQ(bed_.ui->messages[0].text, "Failed to set data for 'Plumeta'");
  EXPECT_EQ(bed_.ui->messages[0].caption, "Plumeta");
  EXPECT_EQ(bed_.ui->messages[0].icon, MessageIcon::kError);
  // The icon answers, the file carries the settings, and Exit ends it.
  bed_.TrayNotify(platform::kWmRButtonDown);
  EXPECT_EQ(bed_.dialogs->menus.size(), 1u);
  EXPECT_NE(bed_.ResponseFile(), "<missing>");
  EXPECT_TRUE(bed_.window().controls["Image2"]);
  bed_.ui->answers = {MessageResult::kYes};
  EXPECT_TRUE(main->ClickMenuItem("Exit2"));
  EXPECT_TRUE(bed_.application->terminated);
}

TEST_F(MainFormTest, LaterStartOverwritesTheRunValueBeforeVistaOnly) {
  bed_.system->version = kXp;
  bed_.Start();
  bed_.system->program_path = "D:\\Other\\plumeta.exe";
  bed_.Start();
  EXPECT_EQ(bed_.Stored(RootKey::kLocalMachine, testing::kRunKey, "Plumeta"),
            "D:\\Other\\plumeta.exe");
  // From Vista on the scheduled task starts it; Windows 7 here.
  testing::MonitorTestBed seven;
  seven.Start();
  EXPECT_EQ(seven.Stored(RootKey::kLocalMachine, testing::kRunKey, "Plumeta"),
            "<missing>");
}

TEST_F(MainFormTest, CloseStoresTheSixValuesAndHides) {
  auto main = bed_.Start();
  bed_.window().visible = true;
  bed_.dialogs->input_answers = {"usr", "own"};  // the second: the prompt
  main->ClickMenuItem("UserPassword1");
  main->ClickMenuItem("Ebook1");
  main->ClickMenuItem("Highqualityprint1");
  bed_.window().Close();
  EXPECT_EQ(bed_.Stored("Version"), "1.3");
  EXPECT_EQ(bed_.Stored("Quality"), "Ebook");
  EXPECT_EQ(bed_.Stored("UPwd"), "usr");
  EXPECT_EQ(bed_.Stored("OPwd"), "own");
  EXPECT_EQ(bed_.Stored("Resolution"), "1200");
  EXPECT_EQ(bed_.Stored("Permission"), "11111110");
  EXPECT_FALSE(bed_.window().visible);
  EXPECT_FALSE(bed_.application->terminated);
}

// A value that could not be read stays as it is unless the user changes it;
// everything else is stored.
TEST_F(MainFormTest, CloseStoresAllButTheUnreadValuesTheUserLeftAlone) {
  const struct {
    const char* label;
    const char* item;  // clicked before close
    const char* quality_stored;
  } kRows[] = {{"quality left alone", "N6001", nullptr},
               {"quality chosen", "Screen1", "Screen"}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    testing::MonitorTestBed bed;
    const platform::RegistryValue number =
        platform::RegistryValue::FromDword(3);
    bed.StoreValue("Quality", number);
    bed.Store("Version", "1.4");
    auto main = bed.Start();
    main->ClickMenuItem(row.item);
    bed.window().Close();
    EXPECT_EQ(bed.Stored("Version"), "1.4");
    EXPECT_EQ(bed.Stored("Resolution"), row.quality_stored ? "1200" : "600");
    EXPECT_EQ(bed.Stored("Quality"),
              row.quality_stored ? row.quality_stored : number.Text());
    EXPECT_EQ(bed.Stored("Permission"), "11111111");
    EXPECT_FALSE(bed.window().visible);
  }
}

TEST_F(MainFormTest, ExitAnsweredNoChangesNothing) {
  auto main = bed_.Start();
  bed_.ui->answers = {MessageResult::kNo};
  main->ClickMenuItem("Exit2");
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  const auto& box = bed_.ui->messages[0];
  EXPECT_EQ(box.text,
            "Do you really want to quit? If you quit now, you won't be able "
            "to create PDF files with Plumeta.");
  EXPECT_EQ(box.caption, "Warning");
  EXPECT_EQ(box.buttons, MessageButtons::kYesNo);
  EXPECT_EQ(box.icon, MessageIcon::kNone);
  EXPECT_TRUE(box.owned_by_main_window);
  EXPECT_EQ(bed_.application->timers.size(), 1u);
  EXPECT_FALSE(bed_.application->terminated);
  EXPECT_EQ(bed_.Stored("Version"), "<missing>");
}

TEST_F(MainFormTest, ExitAnsweredYesStopsTheTimerStoresAndTerminates) {
  auto main = bed_.Start();
  bed_.ui->answers = {MessageResult::kYes};
  main->ClickMenuItem("Exit2");
  EXPECT_TRUE(bed_.application->timers.empty());
  EXPECT_TRUE(bed_.application->terminated);
  EXPECT_EQ(bed_.Stored("Permission"), "11111111");
}

TEST_F(MainFormTest, Timer1TicksEveryTwoHundredMillisecondsFromCreation) {
  auto main = bed_.NewMain();
  testing::CallLog log;
  bed_.spooler->log = &log;
  ASSERT_EQ(bed_.application->timers.size(), 1u);
  EXPECT_EQ(bed_.application->timers.begin()->second.interval_ms, 200u);
  bed_.application->FireTimers();
  // Each tick polls the printer's queue.
  EXPECT_EQ(log.calls().size(), 1u);
  EXPECT_EQ(log.calls().front().rfind("spooler open Plumeta", 0), 0u);
}

TEST_F(MainFormTest, MenuButtonPopsTheMenuUpAtTheScreenCentre) {
  auto main = bed_.Start();
  bed_.application->screen = {1279, 1023};
  bed_.dialogs->menu_choices = {"N6001"};
  bed_.window().events.on_click("Button4");
  ASSERT_EQ(bed_.dialogs->menus.size(), 1u);
  EXPECT_EQ(bed_.dialogs->menus[0].at, (platform::Point{639, 511}));
  EXPECT_NE(bed_.ResponseFile().find("-r600"), std::string::npos);
}

TEST_F(MainFormTest, WindowLayout) {
  auto main = bed_.NewMain();
  const auto& form = bed_.window().description;
  EXPECT_EQ(form.name, "TMain");
  EXPECT_EQ(form.caption, "Plumeta");
  EXPECT_EQ(form.client_size, (platform::Size{462, 205}));
  EXPECT_EQ(form.font, (platform::Font{"Tahoma", -11, false}));
  std::vector<std::string> names;
  for (const auto& control : form.controls) names.push_back(control.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Image1", "Label5", "Image2",
                                             "Button4"}));
  EXPECT_FALSE(bed_.window().controls["Image2"]);
  EXPECT_EQ(form.controls[1].bounds, (platform::Rect{104, 16, 446, 144}));
  EXPECT_EQ(form.controls[3].bounds, (platform::Rect{8, 144, 83, 169}));
}

}  // namespace
}  // namespace plumeta
