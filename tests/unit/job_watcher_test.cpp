// The print-job watcher on fakes: the JobTable rows, the conversion flow on
// its two paths, its waits in fake time, and overlapping jobs.
#include "monitor/job_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "monitor/pdf_delivery.h"
#include "tests/unit/support/fake_conversion_tray.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

using testing::FakeSpooler;

constexpr char kLastResult[] = "C:\\Temp\\1024.pdf";
constexpr char kTarget[] = "C:\\Users\\me\\Letter.PDF";

class JobWatcherTest : public ::testing::Test {
 protected:
  JobWatcherTest() {
    platform::PrinterInfo2 plumeta;
    plumeta.printer_name = "Plumeta";
    plumeta.port_name = "PLUM:";
    bed.spooler->printers.push_back({plumeta, {}});
    MonitorState state;
    state.last_result = [] { return std::string(kLastResult); };
    state.os_name = [this] { return os_name; };
    state.set_os_name = [this](const std::string& name) { os_name = name; };
    state.show_pdf_when_done = [this] { return show_pdf_when_done; };
    watcher = std::make_unique<JobWatcher>(bed.platform, tray, save_dialog,
                                           std::move(state));
    bed.application->SetTimer(200, [this] { watcher->Timer1Timer(); });
  }

  std::vector<platform::PrintJob>& Queue() {
    return bed.spooler->Find("Plumeta")->jobs;
  }
  platform::PrintJob& Print(std::uint32_t id, const std::string& document,
                            const std::string& printer = "Plumeta") {
    platform::PrintJob job;
    job.job_id = id;
    job.printer_name = printer;
    job.document = document;
    job.machine_name = "\\\\PLUMBOX";
    job.user_name = "User";
    job.status = 0x08;
    job.size = 1536;
    job.submitted = {2024, 5, 3, 1, 12, 30, 5, 0};
    Queue().push_back(job);
    return Queue().back();
  }
  void LeaveQueue(std::uint32_t id) {
    std::erase_if(Queue(), [id](const auto& job) { return job.job_id == id; });
  }
  // Ghostscript at work on LastResult.
  void Write(const std::string& content, bool still_writing) {
    bed.files->files[kLastResult] = content;
    if (still_writing) {
      bed.files->in_use.insert(kLastResult);
    } else {
      bed.files->in_use.erase(kLastResult);
    }
  }
  void Advance(std::uint64_t ms) { bed.application->Advance(ms); }
  int Polls() const {
    return static_cast<int>(std::count(log.calls().begin(), log.calls().end(),
                                       "spooler enum-jobs Plumeta"));
  }
  bool Opened(const std::string& file) const {
    for (const auto& request : bed.shell->executed) {
      if (request.file == file) return true;
    }
    return false;
  }

  testing::MonitorTestBed bed;
  testing::FakeConversionTray tray;
  testing::CallLog log;
  TSaveDialog save_dialog{*bed.dialogs};
  std::string os_name = "Microsoft Windows XP";
  bool show_pdf_when_done = true;
  std::unique_ptr<JobWatcher> watcher;
};

TEST_F(JobWatcherTest, RowsInTheOrderFirstSeenWithTheirTexts) {
  bed.dialogs->save_answers = {std::nullopt, std::nullopt};
  Print(7, "Letter");
  Print(3, "Memo").status = 0x12;
  Advance(200);
  const JobTable& table = watcher->job_table();
  ASSERT_EQ(table.size(), 2);
  EXPECT_EQ(table.row(0).record->job_id, 7u);
  EXPECT_EQ(table.row(1).record->job_id, 3u);
  const JobTexts expected = {
      "\\\\PLUMBOX", "Plumeta",       "Memo", "Error Printing ",
      "User",        "      1.54 KB", "0",    "5/1/2024 12:30:05 PM"};
  EXPECT_EQ(table.row(1).texts, expected);
}

TEST_F(JobWatcherTest, AJobSeenAgainRefreshesOnlyChangedTextsAndNoSecondFlow) {
  bed.dialogs->save_answers = {std::nullopt};
  Print(7, "Letter");
  Advance(200);
  const std::uint64_t before = watcher->job_table().text_assignments();
  Queue()[0].status = 0x10;
  Advance(200);
  Advance(200);
  EXPECT_EQ(watcher->job_table().size(), 1);
  EXPECT_EQ(watcher->job_table().row(0).texts[kStatusColumn], "Printing ");
  EXPECT_EQ(watcher->job_table().text_assignments() - before, 1u);
  EXPECT_EQ(bed.dialogs->saves.size(), 1u);
}

TEST_F(JobWatcherTest, OnlyTheExactPrinterNameStartsAFlow) {
  for (const char* printer : {"plumeta", "\\\\server\\Plumeta", "Plumeta "}) {
    SCOPED_TRACE(printer);
    Queue().clear();
    Print(static_cast<std::uint32_t>(watcher->job_table().size() + 1), "Doc",
          printer);
    Advance(200);
    EXPECT_TRUE(bed.dialogs->saves.empty());
    EXPECT_TRUE(tray.calls.empty());
  }
  EXPECT_EQ(watcher->job_table().size(), 3);
}

TEST_F(JobWatcherTest, CancelStopsTheAnimationAndKeepsWindowAndLastResult) {
  bed.dialogs->while_save_open = [this] { Write("%PDF-1.4 gs", false); };
  bed.dialogs->save_answers = {std::nullopt};
  Print(7, "Letter");
  Advance(200);
  const std::vector<std::string> expected = {"cycle on",  "balloon at 934,743",
                                             "balloon",   "reveal",
                                             "cycle off", "icon 0"};
  EXPECT_EQ(tray.calls, expected);
  EXPECT_TRUE(tray.window_shown);
  EXPECT_EQ(bed.files->files[kLastResult], "%PDF-1.4 gs");
  ASSERT_EQ(bed.dialogs->saves.size(), 1u);
  EXPECT_EQ(bed.dialogs->saves[0].file_name, "Letter.PDF");
  EXPECT_EQ(bed.dialogs->saves[0].filter, "Adobe PDF files (*.PDF)|*.PDF");
  EXPECT_EQ(bed.dialogs->saves[0].default_extension, "*.PDF");
}

TEST_F(JobWatcherTest, NoBalloonOnNt4AndEarlier) {
  const struct {
    const char* os_name;
    bool balloon;
  } kRows[] = {{"Microsoft Windows NT", false},
               {"Microsoft Windows NT Server", false},
               {"Microsoft Windows 2000", true},
               {"", true}};
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.os_name);
    os_name = row.os_name;
    tray.calls.clear();
    Print(++id, "Doc");
    Advance(200);
    EXPECT_EQ(std::count(tray.calls.begin(), tray.calls.end(), "balloon"),
              row.balloon ? 1 : 0);
  }
}

TEST_F(JobWatcherTest, AFlowStartDeletesALastResultOlderThanItsJob) {
  bed.files->files[kLastResult] = "yesterday's PDF";
  Advance(200);  // the watcher sees the old file
  Print(7, "Letter");
  Advance(200);
  EXPECT_FALSE(bed.files->Exists(kLastResult));
}

TEST_F(JobWatcherTest, AcceptWaitsForTheFileThenCopiesAndOpensWhenTicked) {
  for (bool ticked : {true, false}) {
    SCOPED_TRACE(ticked ? "ticked" : "not ticked");
    show_pdf_when_done = ticked;
    bed.shell->executed.clear();
    bed.files->files.erase(kTarget);
    const std::uint32_t id = ticked ? 1 : 2;
    bed.dialogs->save_answers = {kTarget};
    int waits_at_copy = -1;
    // Ghostscript: nothing for a second, then two seconds of writing, then
    // done; the job leaves the queue when it is.
    bed.application->on_wait = [&] {
      const int waited = bed.application->waits;
      if (waited == 10) Write("%PDF-1", true);
      if (waited == 20) Write("%PDF-1.4 more", true);
      if (waited == 30) {
        Write("%PDF-1.4 the end", false);
        LeaveQueue(id);
      }
      EXPECT_FALSE(bed.files->Exists(kTarget)) << "copied while writing";
      waits_at_copy = waited;
    };
    bed.application->waits = 0;
    Print(id, "Letter");
    Advance(200);
    bed.application->on_wait = nullptr;
    EXPECT_EQ(waits_at_copy, 30);
    EXPECT_EQ(bed.files->files[kTarget], "%PDF-1.4 the end");
    EXPECT_FALSE(bed.files->Exists(kLastResult));
    EXPECT_FALSE(bed.files->Exists(PartialCopyPath(kTarget)));
    EXPECT_EQ(Opened(kTarget), ticked);
    if (ticked) {
      const platform::ShellExecuteRequest& open = bed.shell->executed.back();
      EXPECT_TRUE(open.owned_by_main_window);
      EXPECT_EQ(open.operation, "open");
      EXPECT_EQ(open.parameters, "");
      EXPECT_EQ(open.directory, "");
      EXPECT_EQ(open.show_mode, platform::kShow);
    }
    EXPECT_EQ(tray.calls.back(), "icon 0");
    EXPECT_FALSE(tray.cycling);
    EXPECT_FALSE(tray.window_shown);
    EXPECT_TRUE(bed.ui->messages.empty());
  }
}

TEST_F(JobWatcherTest, PollsAndPostedCallsGoOnWhileTheDialogIsOpen) {
  bed.spooler->log = &log;
  int polls_in_dialog = 0;
  bed.dialogs->while_save_open = [&] {
    const int before = Polls();
    Print(8, "Second");
    Advance(1000);
    polls_in_dialog = Polls() - before;
  };
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(polls_in_dialog, 5);
  EXPECT_EQ(watcher->job_table().size(), 2);
}

TEST_F(JobWatcherTest, TheWaitEndsAMinuteAfterTheJobLeftWithoutAPdf) {
  bed.spooler->log = &log;
  bed.dialogs->save_answers = {kTarget};
  bed.files->files[kTarget] = "the old PDF";
  bool posted_ran = false;
  bed.application->on_wait = [&] {
    if (bed.application->waits == 1) {
      bed.application->Post([&] { posted_ran = true; });
    }
    if (bed.application->waits == 50) LeaveQueue(7);  // Ghostscript failed
  };
  Print(7, "Report: Q1");
  Advance(200);
  // Left after about 5 s, given up 60 s later; 100 ms a step.
  EXPECT_GE(bed.application->now_ms, 65'000u);
  EXPECT_LE(bed.application->now_ms, 66'000u);
  EXPECT_NEAR(bed.application->waits, 650, 5);
  EXPECT_GT(Polls(), 300);
  EXPECT_TRUE(posted_ran);
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  const testing::ShownMessage& shown = bed.ui->messages[0];
  EXPECT_EQ(shown.text, "The PDF for 'Report: Q1' was not created.");
  EXPECT_EQ(shown.caption, "Plumeta");
  EXPECT_EQ(shown.icon, platform::MessageIcon::kError);
  EXPECT_EQ(shown.buttons, platform::MessageButtons::kOk);
  EXPECT_FALSE(tray.cycling);
  EXPECT_EQ(tray.icon_index, 0);
  EXPECT_EQ(bed.files->files[kTarget], "the old PDF");
  EXPECT_FALSE(Opened(kTarget));
}

TEST_F(JobWatcherTest, ExitDuringTheWaitEndsTheFlowQuietly) {
  bed.dialogs->save_answers = {kTarget};
  bed.application->on_wait = [this] {
    if (bed.application->waits == 5) bed.application->Terminate();
  };
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(bed.application->waits, 5);
  EXPECT_FALSE(tray.cycling);
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(JobWatcherTest, AFileInUseEndsTheWaitOnlyWhenItStopsGrowing) {
  const struct {
    const char* name;
    int grow_every_waits;  // 0: never grows
    bool gives_up;
  } kRows[] = {
      {"stalled", 0, true},
      {"grows every 100 s", 1000, false},
  };
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.ui->messages.clear();
    bed.files->files.erase(kTarget);
    bed.dialogs->save_answers = {kTarget};
    bed.application->waits = 0;
    const std::uint64_t start = bed.application->now_ms;
    std::string content = "%PDF";
    bed.application->on_wait = [&] {
      const int waited = bed.application->waits;
      if (waited == 1) Write(content, true);
      if (row.grow_every_waits != 0 && waited % row.grow_every_waits == 0) {
        content += " more";
        Write(content, waited < 4000);
      }
    };
    Print(++id, "Doc");
    Advance(200);
    bed.application->on_wait = nullptr;
    bed.files->in_use.clear();
    if (row.gives_up) {
      EXPECT_NEAR(bed.application->now_ms - start, 120'000, 1'000);
      ASSERT_EQ(bed.ui->messages.size(), 1u);
      EXPECT_EQ(bed.ui->messages[0].text, "The PDF for 'Doc' was not created.");
      EXPECT_TRUE(bed.files->Exists(kLastResult));
    } else {
      EXPECT_TRUE(bed.ui->messages.empty());
      EXPECT_EQ(bed.files->files[kTarget], content);
    }
  }
}

TEST_F(JobWatcherTest, AFailedCopyKeepsLastResultAndTellsWhy) {
  const struct {
    const char* name;
    bool copy_fails;
  } kRows[] = {{"copy refused", true}, {"replace refused", false}};
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.ui->messages.clear();
    bed.shell->executed.clear();
    bed.files->copy_failures.clear();
    bed.files->replace_failures.clear();
    bed.files->files[kTarget] = "the old PDF";
    if (row.copy_fails) {
      bed.files->copy_failures[PartialCopyPath(kTarget)] =
          platform::kErrorAccessDenied;
    } else {
      bed.files->replace_failures[kTarget] = platform::kErrorAccessDenied;
    }
    bed.dialogs->save_answers = {kTarget};
    bed.dialogs->while_save_open = [this] { Write("%PDF new", false); };
    Print(++id, "Letter");
    Advance(200);
    EXPECT_EQ(bed.files->files[kLastResult], "%PDF new");
    EXPECT_EQ(bed.files->files[kTarget], "the old PDF");
    EXPECT_FALSE(bed.files->Exists(PartialCopyPath(kTarget)));
    EXPECT_TRUE(bed.shell->executed.empty());
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text,
              "The PDF could not be copied from 'C:\\Temp\\1024.pdf' to "
              "'C:\\Users\\me\\Letter.PDF'.\r\nAccess is denied.");
    EXPECT_EQ(bed.ui->messages[0].caption, "Plumeta");
    EXPECT_EQ(bed.ui->messages[0].icon, platform::MessageIcon::kError);
    EXPECT_FALSE(tray.cycling);
    bed.files->files.erase(kLastResult);
  }
}

TEST_F(JobWatcherTest, TheOldFileAtTheTargetStaysUntilTheNewOneReplacesIt) {
  bed.files->files[kTarget] = "the old PDF";
  bed.dialogs->save_answers = {kTarget};
  bed.application->on_wait = [this] {
    EXPECT_EQ(bed.files->files[kTarget], "the old PDF");
    if (bed.application->waits == 20) Write("%PDF new", false);
  };
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], "%PDF new");
  EXPECT_EQ(bed.files->log.end()[-2],
            "replace " + PartialCopyPath(kTarget) + " " + kTarget);
}

TEST_F(JobWatcherTest, ChoosingLastResultItselfKeepsThePdf) {
  bed.dialogs->save_answers = {"c:\\temp\\1024.PDF"};
  bed.dialogs->while_save_open = [this] { Write("%PDF new", false); };
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(bed.files->files[kLastResult], "%PDF new");
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(JobWatcherTest, OverlappingJobsGetTheirFlowsOneAfterTheOtherInOrder) {
  bed.dialogs->save_answers = {std::nullopt, std::nullopt, std::nullopt};
  bed.dialogs->while_save_open = [this] {
    if (bed.dialogs->saves.size() == 1) {
      Print(9, "Third");
      Advance(200);
      Print(8, "Second");
      Advance(200);
      EXPECT_EQ(watcher->queued_flows(), 2u);
    }
  };
  Print(7, "First");
  Advance(200);
  ASSERT_EQ(bed.dialogs->saves.size(), 3u);
  EXPECT_EQ(bed.dialogs->saves[0].file_name, "First.PDF");
  EXPECT_EQ(bed.dialogs->saves[1].file_name, "Third.PDF");
  EXPECT_EQ(bed.dialogs->saves[2].file_name, "Second.PDF");
  EXPECT_FALSE(watcher->flow_open());
}

TEST_F(JobWatcherTest, AQueuedFlowKeepsALastResultWrittenAfterItsJobWasSeen) {
  // Job 7's dialog stays open while job 8 is printed and converted; job 7's
  // Ghostscript failed. Job 8's flow must deliver job 8's PDF, not delete
  // it as a leftover.
  bed.dialogs->save_answers = {std::nullopt, kTarget};
  bed.dialogs->while_save_open = [this] {
    if (bed.dialogs->saves.size() != 1) return;
    LeaveQueue(7);
    Print(8, "Second");
    Advance(200);
    Write("%PDF of job 8", true);
    Advance(600);
    Write("%PDF of job 8, complete", false);
    LeaveQueue(8);
    Advance(200);
  };
  Print(7, "First");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], "%PDF of job 8, complete");
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(JobWatcherTest, AQueuedFlowDeletesAnotherJobsLeftoverAndWaitsForItsOwn) {
  // Job 7's PDF is written while job 8 waits; job 7's flow is cancelled, so
  // its PDF stays. Job 8's flow must not take it for job 8's.
  bed.dialogs->save_answers = {std::nullopt, kTarget};
  bed.dialogs->while_save_open = [this] {
    if (bed.dialogs->saves.size() == 1) {
      Print(8, "Second");
      Advance(200);
      Write("%PDF of job 7", false);
      LeaveQueue(7);
      Advance(200);
    }
  };
  bed.application->on_wait = [this] {
    if (bed.application->waits == 10) {
      Write("%PDF of job 8", false);
      LeaveQueue(8);
    }
  };
  Print(7, "First");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], "%PDF of job 8");
}

TEST_F(JobWatcherTest, FileInUseOnlyForAnExistingFileHeldByAnother) {
  bed.files->files["C:\\free.pdf"] = "x";
  bed.files->files["C:\\held.pdf"] = "x";
  bed.files->in_use.insert("C:\\held.pdf");
  bed.files->in_use.insert("C:\\gone.pdf");
  EXPECT_FALSE(watcher->FileInUse("C:\\free.pdf"));
  EXPECT_TRUE(watcher->FileInUse("C:\\held.pdf"));
  EXPECT_FALSE(watcher->FileInUse("C:\\gone.pdf"));
}

TEST_F(JobWatcherTest, FreeJobRowReleasesOnlyRowsThatExist) {
  bed.dialogs->save_answers = {std::nullopt, std::nullopt};
  Print(7, "A");
  Print(8, "B");
  Advance(200);
  for (int index : {-1, 2, 100}) watcher->FreeJobRow(index);
  EXPECT_TRUE(watcher->job_table().row(0).record);
  EXPECT_TRUE(watcher->job_table().row(1).record);
  watcher->FreeJobRow(1);
  EXPECT_TRUE(watcher->job_table().row(0).record);
  EXPECT_FALSE(watcher->job_table().row(1).record);
  watcher->ReleaseJobTable();
  EXPECT_EQ(watcher->job_table().size(), 0);
}

}  // namespace
}  // namespace plumeta
