// TMain with the print-job watcher and the menu commands wired in: a job
// goes through the real tray icon, balloon and menu on fakes.
#include <gtest/gtest.h>

#include "monitor/main_form.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

class MainFormWatcherTest : public ::testing::Test {
 protected:
  MainFormWatcherTest() {
    platform::PrinterInfo2 office;
    office.printer_name = "Office";
    platform::PrinterInfo2 plumeta;
    plumeta.printer_name = "Plumeta";
    bed.spooler->printers = {{office, {}}, {plumeta, {}}};
  }
  void Print(std::uint32_t id, const std::string& document) {
    platform::PrintJob job;
    job.job_id = id;
    job.printer_name = "Plumeta";
    job.document = document;
    bed.spooler->Find("Plumeta")->jobs.push_back(job);
  }

  testing::MonitorTestBed bed;
};

TEST_F(MainFormWatcherTest, StartUpListsThePrinters) {
  auto main = bed.Start();
  EXPECT_EQ(main->printers(), (std::vector<std::string>{"Office", "Plumeta"}));
}

TEST_F(MainFormWatcherTest, AJobAnimatesShowsBalloonAndWindowAndAsks) {
  auto main = bed.Start();
  bool cycling_in_dialog = false;
  bool window_in_dialog = false;
  bed.dialogs->while_save_open = [&] {
    cycling_in_dialog = main->TrayIcon1().CycleIcons();
    window_in_dialog = bed.window().visible;
  };
  const std::size_t balloons = bed.balloon_windows.shown.size();
  Print(7, "Letter");
  bed.application->Advance(200);
  ASSERT_EQ(bed.dialogs->saves.size(), 1u);
  EXPECT_EQ(bed.dialogs->saves[0].file_name, "Letter.PDF");
  EXPECT_TRUE(cycling_in_dialog);
  EXPECT_TRUE(window_in_dialog);
  ASSERT_EQ(bed.balloon_windows.shown.size(), balloons + 1);
  EXPECT_EQ(bed.balloon_windows.shown.back().layout.text,
            "Creating Adobe PDF ...");
  // Cancelled: the icon rests, the window stays.
  EXPECT_FALSE(main->TrayIcon1().CycleIcons());
  EXPECT_EQ(main->TrayIcon1().IconIndex(), 0);
  EXPECT_TRUE(bed.window().visible);
}

TEST_F(MainFormWatcherTest, ShowPdfWhenDoneDecidesWhetherTheCopyOpens) {
  auto main = bed.Start();
  EXPECT_TRUE(main->popup_menu1().FindItem("ShowPDFwhendone1")->Checked());
  ASSERT_TRUE(main->ClickMenuItem("ShowPDFwhendone1"));
  EXPECT_FALSE(main->popup_menu1().FindItem("ShowPDFwhendone1")->Checked());
  // Ghostscript writes while the dialog is open, and the job leaves.
  const std::string pdf = "%PDF-1.4\nstartxref\n9\n%%EOF\n";
  bed.dialogs->while_save_open = [&] {
    bed.files->files[main->LastResult()] = pdf;
    bed.spooler->Find("Plumeta")->jobs.clear();
  };
  bed.dialogs->save_answers = {"C:\\out.pdf"};
  Print(7, "Letter");
  bed.application->Advance(200);
  EXPECT_EQ(bed.files->files["C:\\out.pdf"], pdf);
  EXPECT_TRUE(bed.shell->executed.empty());
}

TEST_F(MainFormWatcherTest, MenuItemsAndThePictureRunTheirCommands) {
  auto main = bed.Start();
  const struct {
    const char* item;
    const char* file;
  } kRows[] = {
      {"Viewlastresult1", "C:\\Temp\\1024.pdf"},
      {"Configuration1", "rundll32.exe"},
      {"Options1", "rundll32.exe"},
      {"Help1", "C:\\Program Files\\Plumeta\\manual.chm"},
      {"Image2", "mailto:support@plumeta.example"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.item);
    bed.shell->executed.clear();
    if (std::string(row.item) == "Image2") {
      bed.window().events.on_click("Image2");
    } else {
      ASSERT_TRUE(main->ClickMenuItem(row.item));
    }
    ASSERT_EQ(bed.shell->executed.size(), 1u);
    EXPECT_EQ(bed.shell->executed[0].file, row.file);
    EXPECT_TRUE(bed.shell->executed[0].owned_by_main_window);
  }
}

}  // namespace
}  // namespace plumeta
