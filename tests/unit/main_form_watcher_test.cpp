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

  // The tray icon's animation timer (every 500 ms) runs.
  bool Animating() const {
    for (const auto& [id, timer] : bed.application->timers) {
      if (timer.interval_ms == 500) return true;
    }
    return false;
  }

  testing::MonitorTestBed bed;
};

TEST_F(MainFormWatcherTest, StartUpListsThePrinters) {
  testing::CallLog log;
  bed.spooler->log = &log;
  bed.Start();
  EXPECT_EQ(log.calls().front().rfind("spooler enum-printers", 0), 0u);
}

TEST_F(MainFormWatcherTest, AJobAnimatesShowsBalloonAndWindowAndAsks) {
  auto main = bed.Start();
  bool cycling_in_dialog = false;
  bool window_in_dialog = false;
  bed.dialogs->while_save_open = [&] {
    cycling_in_dialog = Animating();
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
  EXPECT_FALSE(Animating());
  EXPECT_EQ(bed.notification_area.calls.back().record.icon, 0x100u);  // TRAY0
  EXPECT_TRUE(bed.window().visible);
}

TEST_F(MainFormWatcherTest, ShowPdfWhenDoneDecidesWhetherTheCopyOpens) {
  auto main = bed.Start();
  EXPECT_TRUE(bed.ShownItem(*main, "ShowPDFwhendone1").checked);
  ASSERT_TRUE(main->ClickMenuItem("ShowPDFwhendone1"));
  EXPECT_FALSE(bed.ShownItem(*main, "ShowPDFwhendone1").checked);
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

// LastResult, a PDF set aside for a job and the argument file (under WOW64
// also in SysWOW64) are never a target: the dialog says why and asks again.
TEST_F(MainFormWatcherTest,
       TheMonitorsOwnFilesAreRefusedAndTheDialogAsksAgain) {
  const struct {
    const char* answer;
    bool wow64;
  } kRows[] = {
      {"C:\\Temp\\1024-2.pdf", false},
      {"c:\\temp\\1024.PDF", false},
      {"C:\\TEMP~1\\1024.pdf", false},
      {"C:\\WINDOWS\\system32\\plum.rsp", false},
      {"c:/windows/SYSTEM32/./plum.rsp", false},
      {"C:\\WINDOWS\\SysWOW64\\plum.rsp", true},
  };
  const std::string pdf = "%PDF-1.4\nstartxref\n9\n%%EOF\n";
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.answer);
    testing::MonitorTestBed bed;
    bed.spooler->printers = this->bed.spooler->printers;
    bed.system->is_wow64 = row.wow64;
    bed.files->aliases["C:\\TEMP~1\\1024.pdf"] = "C:\\Temp\\1024.pdf";
    auto main = bed.Start();
    const std::string response_file = bed.ResponseFile();
    bed.dialogs->while_save_open = [&] {
      bed.files->files[main->LastResult()] = pdf;
      bed.spooler->Find("Plumeta")->jobs.clear();
    };
    bed.dialogs->save_answers = {row.answer, "C:\\out.pdf"};
    platform::PrintJob job;
    job.job_id = ++id;
    job.printer_name = "Plumeta";
    job.document = "Letter";
    bed.spooler->Find("Plumeta")->jobs.push_back(job);
    bed.application->Advance(200);
    ASSERT_EQ(bed.dialogs->saves.size(), 2u);
    EXPECT_EQ(bed.dialogs->saves[1].file_name, row.answer);
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text,
              "The PDF cannot be saved as '" + std::string(row.answer) +
                  "': Plumeta uses this file itself.\r\nPlease choose "
                  "another name.");
    EXPECT_EQ(bed.files->files["C:\\out.pdf"], pdf);
    EXPECT_EQ(bed.ResponseFile(), response_file);
    EXPECT_FALSE(bed.files->Exists("C:\\Temp\\1024-2.pdf"));
  }
}

// At start-up the newest PDF a former run left set aside goes back to
// LastResult and a balloon says so; the others stay where they are.
TEST_F(MainFormWatcherTest, APdfLeftSetAsideGoesBackToLastResultAtStartUp) {
  const auto pdf = [](const std::string& text) {
    return "%PDF-1.4\n(" + text + ")\nstartxref\n9\n%%EOF\n";
  };
  struct File {
    const char* path;
    std::string content;
    std::uint64_t time;
  };
  const struct {
    const char* what;
    std::vector<File> files;
    std::string last_result;  // empty: none there after start-up
    bool balloon;
  } kRows[] = {
      {"one", {{"C:\\Temp\\1024-5.pdf", pdf("5"), 30}}, pdf("5"), true},
      {"the newest of three",
       {{"C:\\Temp\\1024-3.pdf", pdf("3"), 10},
        {"C:\\Temp\\1024-9.pdf", pdf("9"), 30},
        {"C:\\Temp\\1024-12.pdf", pdf("12"), 20}},
       pdf("9"),
       true},
      {"an older last result gives way",
       {{"C:\\Temp\\1024.pdf", pdf("old"), 5},
        {"C:\\Temp\\1024-5.pdf", pdf("5"), 30}},
       pdf("5"),
       true},
      {"a newer last result stays",
       {{"C:\\Temp\\1024.pdf", pdf("new"), 40},
        {"C:\\Temp\\1024-5.pdf", pdf("5"), 30}},
       pdf("new"),
       false},
      {"cut short: back, but not announced",
       {{"C:\\Temp\\1024-5.pdf", "%PDF-1.4\n(half", 30}},
       "%PDF-1.4\n(half",
       false},
      {"no set-aside name",
       {{"C:\\Temp\\1024-x.pdf", pdf("x"), 30},
        {"C:\\Temp\\Letter.pdf", pdf("L"), 30},
        {"C:\\Temp\\old\\1024-5.pdf", pdf("5"), 30}},
       "",
       false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    testing::MonitorTestBed bed;
    for (const File& file : row.files) {
      bed.files->files[file.path] = file.content;
      bed.files->modified[file.path] = file.time;
    }
    auto main = bed.Start();
    ASSERT_EQ(main->LastResult(), "C:\\Temp\\1024.pdf");
    EXPECT_EQ(bed.files->files.count(main->LastResult())
                  ? bed.files->files[main->LastResult()]
                  : "",
              row.last_result);
    // Nothing else went: every other file is still there.
    for (const File& file : row.files) {
      if (file.content != row.last_result && file.path != main->LastResult()) {
        EXPECT_TRUE(bed.files->Exists(file.path)) << file.path;
      }
    }
    const bool announced =
        !bed.balloon_windows.shown.empty() &&
        bed.balloon_windows.shown.back().layout.text ==
            "A PDF from the last session is ready\r\nRight-click the happy "
            "icon and choose View Last Result";
    EXPECT_EQ(announced, row.balloon);
  }
}

}  // namespace
}  // namespace plumeta
