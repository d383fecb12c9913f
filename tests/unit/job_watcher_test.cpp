// The print-job watcher on fakes: the JobTable rows, the conversion flow on
// its two paths, its waits in fake time, and overlapping jobs.
#include "monitor/job_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>

#include "monitor/own_files.h"
#include "monitor/pdf_delivery.h"
#include "tests/unit/support/job_watcher_bed.h"

namespace plumeta {
namespace {

using testing::FakeSpooler;
using testing::JobWatcherTest;
using testing::kLastResult;
using testing::kTarget;

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

// The main window's FormDestroy releases the table.
TEST_F(JobWatcherTest, ReleasingTheTableEmptiesIt) {
  Print(7, "Doc", "\\\\server\\Plumeta");  // a row, and no flow
  Advance(200);
  ASSERT_EQ(watcher->job_table().size(), 1);
  watcher->ReleaseJobTable();
  EXPECT_EQ(watcher->job_table().size(), 0);
}

TEST_F(JobWatcherTest, OnlyTheExactPrinterNameStartsAFlow) {
  for (const char* printer : {"plumeta", "\\\\server\\Plumeta", "Plumeta "}) {
    SCOPED_TRACE(printer);
    Queue().clear();
    Print(static_cast<std::uint32_t>(watcher->job_table().size() + 1), "Doc",
          printer);
    Advance(200);
    EXPECT_TRUE(bed.dialogs->saves.empty());
    EXPECT_TRUE(view.calls.empty());
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
  EXPECT_EQ(view.calls, expected);
  EXPECT_TRUE(view.window_shown);
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
    view.os_name = row.os_name;
    view.calls.clear();
    Print(++id, "Doc");
    Advance(200);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "balloon"),
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
    view.show_pdf_when_done = ticked;
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
      if (waited == 30) Finish(id, "the end");
      EXPECT_FALSE(bed.files->Exists(kTarget)) << "copied while writing";
      waits_at_copy = waited;
    };
    bed.application->waits = 0;
    Print(id, "Letter");
    Advance(200);
    bed.application->on_wait = nullptr;
    // The next poll sets the PDF aside.
    EXPECT_GE(waits_at_copy, 30);
    EXPECT_LE(waits_at_copy, 32);
    EXPECT_EQ(bed.files->files[kTarget], Pdf("the end"));
    EXPECT_FALSE(bed.files->Exists(kLastResult));
    EXPECT_EQ(bed.files->files.size(), 1u);
    EXPECT_EQ(Opened(kTarget), ticked);
    if (ticked) {
      const platform::ShellExecuteRequest& open = bed.shell->executed.back();
      EXPECT_TRUE(open.owned_by_main_window);
      EXPECT_EQ(open.operation, "open");
      EXPECT_EQ(open.parameters, "");
      EXPECT_EQ(open.directory, "");
      EXPECT_EQ(open.show_mode, platform::kShow);
    }
    EXPECT_EQ(view.calls.back(), "icon 0");
    EXPECT_FALSE(view.cycling);
    EXPECT_FALSE(view.window_shown);
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

TEST_F(JobWatcherTest, TheWaitEndsWhenTheJobLeftWithoutAPdf) {
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
  // Left after about 5 s, seen by the next poll; 100 ms a step.
  EXPECT_GE(bed.application->now_ms, 5'000u);
  EXPECT_LE(bed.application->now_ms, 5'500u);
  EXPECT_GT(Polls(), 20);
  EXPECT_TRUE(posted_ran);
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  const testing::ShownMessage& shown = bed.ui->messages[0];
  EXPECT_EQ(shown.text, "The PDF for 'Report: Q1' was not created.");
  EXPECT_EQ(shown.caption, "Plumeta");
  EXPECT_EQ(shown.icon, platform::MessageIcon::kError);
  EXPECT_EQ(shown.buttons, platform::MessageButtons::kOk);
  EXPECT_FALSE(view.cycling);
  EXPECT_EQ(view.icon_index, 0);
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
  EXPECT_FALSE(view.cycling);
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
  // As NTFS answers: the folder entry keeps the size the file had when it
  // was created until its writer closes it; only the open file grows.
  bed.files->folder_entry_sizes[kLastResult] = 0;
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
        Write(content, true);
        if (waited == 4000) Finish(id, content);
      }
    };
    Print(++id, "Doc").status = platform::kJobStatusPrinting;
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
      EXPECT_EQ(bed.files->files[kTarget], Pdf(content));
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
      bed.files->copy_failures[*PartialCopyPath(kTarget, 0)] =
          platform::kErrorAccessDenied;
    } else {
      bed.files->replace_failures[kTarget] = platform::kErrorAccessDenied;
    }
    bed.dialogs->save_answers = {kTarget};
    bed.dialogs->while_save_open = [&] { Finish(id, "new"); };
    Print(++id, "Letter");
    Advance(200);
    EXPECT_EQ(bed.files->files[kLastResult], Pdf("new"));
    EXPECT_EQ(bed.files->files[kTarget], "the old PDF");
    EXPECT_EQ(bed.files->files.size(), 2u);
    EXPECT_TRUE(bed.shell->executed.empty());
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text,
              "The PDF could not be copied from 'C:\\Temp\\1024.pdf' to "
              "'C:\\Users\\me\\Letter.PDF'.\r\nAccess is denied.");
    EXPECT_EQ(bed.ui->messages[0].caption, "Plumeta");
    EXPECT_EQ(bed.ui->messages[0].icon, platform::MessageIcon::kError);
    EXPECT_FALSE(view.cycling);
    bed.files->files.erase(kLastResult);
  }
}

TEST_F(JobWatcherTest, TheOldFileAtTheTargetStaysUntilTheNewOneReplacesIt) {
  bed.files->files[kTarget] = "the old PDF";
  bed.dialogs->save_answers = {kTarget};
  bed.application->on_wait = [this] {
    EXPECT_EQ(bed.files->files[kTarget], "the old PDF");
    if (bed.application->waits == 20) Finish(7, "new");
  };
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], Pdf("new"));
  EXPECT_EQ(bed.file_log.calls().end()[-2],
            "file replace " + *PartialCopyPath(kTarget, 0) + " -> " + kTarget);
}

TEST_F(JobWatcherTest, ChoosingLastResultUnderAnySpellingKeepsThePdf) {
  std::uint32_t id = 0;
  for (const char* spelling :
       {"C:\\Temp\\1024.pdf", "c:\\temp\\1024.PDF", "C:\\Temp\\.\\1024.pdf",
        "C:\\TEMP~1\\1024.pdf"}) {
    SCOPED_TRACE(spelling);
    bed.files->aliases[spelling] = kLastResult;
    bed.dialogs->save_answers = {spelling};
    bed.dialogs->while_save_open = [&] { Finish(id, "new"); };
    Print(++id, "Letter");
    Advance(200);
    EXPECT_EQ(bed.files->files[kLastResult], Pdf("new"));
    EXPECT_TRUE(bed.ui->messages.empty());
  }
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
    Finish(8, "job 8");
    Advance(200);
  };
  Print(7, "First");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], Pdf("job 8"));
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
      Finish(7, "job 7");
      Advance(200);
    }
  };
  bed.application->on_wait = [this] {
    if (bed.application->waits == 10) Finish(8, "job 8");
  };
  Print(7, "First");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], Pdf("job 8"));
}

// The box's port: one job at a time in queue order, each Printing for the
// port's delay, then a Ghostscript fast enough to write the whole PDF
// between two polls, then the job leaves. Every PDF has the same size.
class FakePort {
 public:
  explicit FakePort(JobWatcherTest& test) : test_(test) {}
  void Tick() {  // every 100 ms
    auto& queue = test_.Queue();
    if (queue.empty()) return;
    platform::PrintJob& job = queue.front();
    job.status = platform::kJobStatusPrinting;
    if (++ticks_ == 4) {
      test_.Finish(job.job_id, "text of " + job.document);
      ticks_ = 0;
    }
  }

 private:
  JobWatcherTest& test_;
  int ticks_ = 0;
};

TEST_F(JobWatcherTest, EqualSizeJobsInABurstEachDeliverTheirOwnPdf) {
  const struct {
    const char* name;
    std::uint64_t first_answer_after_ms;
  } kRows[] = {{"answered at once", 0}, {"answered 5 s later", 5'000}};
  FakePort port(*this);
  bed.application->SetTimer(100, [&] { port.Tick(); });
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.files->files.clear();
    const std::string targets[] = {"C:\\Out\\j1.pdf", "C:\\Out\\j2.pdf",
                                   "C:\\Out\\j3.pdf"};
    bed.dialogs->save_answers = {targets[0], targets[1], targets[2]};
    const std::size_t first = bed.dialogs->saves.size() + 1;
    bed.dialogs->while_save_open = [&] {
      if (bed.dialogs->saves.size() == first)
        Advance(row.first_answer_after_ms);
    };
    for (const char* document : {"j1.ps", "j2.ps", "j3.ps"}) {
      Print(++id, document);
    }
    Advance(200);
    EXPECT_TRUE(bed.ui->messages.empty());
    EXPECT_EQ(bed.files->files[targets[0]], Pdf("text of j1.ps"));
    EXPECT_EQ(bed.files->files[targets[1]], Pdf("text of j2.ps"));
    EXPECT_EQ(bed.files->files[targets[2]], Pdf("text of j3.ps"));
  }
}

TEST_F(JobWatcherTest, JobsThatLeaveTogetherGetNoPdfRatherThanAWrongOne) {
  bed.dialogs->save_answers = {"C:\\Out\\a.pdf", "C:\\Out\\b.pdf"};
  Print(7, "A");
  Print(8, "B");
  bed.dialogs->while_save_open = [this] {
    if (bed.dialogs->saves.size() != 1) return;
    Finish(7, "A");
    Finish(8, "B");
    bed.files->Touch(kLastResult);
    Advance(200);
  };
  Advance(200);
  ASSERT_EQ(bed.ui->messages.size(), 2u);
  EXPECT_EQ(bed.ui->messages[0].text, "The PDF for 'A' was not created.");
  EXPECT_EQ(bed.ui->messages[1].text, "The PDF for 'B' was not created.");
  EXPECT_EQ(bed.files->files[kLastResult], Pdf("B"));
  EXPECT_FALSE(bed.files->Exists("C:\\Out\\a.pdf"));
}

TEST_F(JobWatcherTest, ADamagedPdfIsNotDeliveredAndStaysAsTheLastResult) {
  bed.dialogs->save_answers = {kTarget};
  bed.dialogs->while_save_open = [this] {
    Write("%PDF-1.4\n1 0 obj\n<< /Type /Catalog", false);  // gs killed
    LeaveQueue(7);
  };
  Print(7, "Letter");
  Advance(200);
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_EQ(bed.ui->messages[0].text, "The PDF for 'Letter' was not created.");
  EXPECT_FALSE(bed.files->Exists(kTarget));
  EXPECT_EQ(bed.files->files[kLastResult],
            "%PDF-1.4\n1 0 obj\n<< /Type /Catalog");
  EXPECT_TRUE(bed.shell->executed.empty());
}

// Ghostscript closes a whole PDF also after an error; its log beside
// LastResult tells, and nothing of a failed job is delivered or kept.
TEST_F(JobWatcherTest, AFailedConversionIsNeitherDeliveredNorKept) {
  constexpr char kLog[] = "C:\\Temp\\1024.log";
  const struct {
    const char* label;
    const char* log;
    const char* reason;  // nullptr: delivered
    bool cancelled;      // the save dialog cancelled before the job ends
  } kRows[] = {
      {"PostScript error",
       "Error: /undefined in nosuchoperator\nOperand stack:\n",
       "Ghostscript: Error: /undefined in nosuchoperator", false},
      {"setting refused",
       "Unrecoverable error: rangecheck in setscreen\nOperand stack:\n",
       "Ghostscript: Unrecoverable error: rangecheck in setscreen", false},
      {"no pages", "%%[ Plumeta: 0 pages ]%%\n", "The document has no pages.",
       false},
      {"error after the dialog was cancelled", "Error: /undefined in x\n", "",
       true},
      {"completed", "%%[ Plumeta: 2 pages ]%%\n", nullptr, false},
  };
  std::uint32_t id = 1;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    bed.ui->messages.clear();
    bed.files->files.erase(kTarget);
    auto convert = [&] {
      Write(Pdf("pages 1-2"), false);
      bed.files->files[kLog] = row.log;
      bed.files->Touch(kLog);
      LeaveQueue(id);
    };
    bed.dialogs->while_save_open = nullptr;
    if (!row.cancelled) bed.dialogs->while_save_open = convert;
    bed.dialogs->save_answers = {
        row.cancelled ? std::nullopt : std::optional<std::string>(kTarget)};
    Print(id, "Letter");
    Advance(200);
    if (row.cancelled) {
      convert();
      Advance(200);
    }
    EXPECT_FALSE(bed.files->Exists(AsidePath(kLastResult, id)));
    ++id;
    if (row.reason == nullptr) {
      EXPECT_EQ(bed.files->files[kTarget], Pdf("pages 1-2"));
      EXPECT_TRUE(bed.ui->messages.empty());
      continue;
    }
    EXPECT_FALSE(bed.files->Exists(kTarget));
    EXPECT_FALSE(bed.files->Exists(kLastResult));
    EXPECT_TRUE(bed.shell->executed.empty());
    if (row.cancelled) {
      EXPECT_TRUE(bed.ui->messages.empty());
      continue;
    }
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(
        bed.ui->messages[0].text,
        std::string("The PDF for 'Letter' was not created.\r\n") + row.reason);
    EXPECT_FALSE(view.cycling);
  }
}

TEST(IsCompletePdfTest, NeedsTheHeaderAndTheEndOfTheFile) {
  const struct {
    const char* content;
    bool complete;
  } kRows[] = {
      {"%PDF-1.4\nxref\ntrailer\nstartxref\n116\n%%EOF\n", true},
      {"%PDF-1.7\r\nstartxref\r\n9\r\n%%EOF", true},
      {"%PDF-1.4\n1 0 obj\n<< /Type /Catalog", false},
      {"%PDF-1.4\nstartxref\n116\n", false},
      {"%PDF-1.4\n%%EOF\n", false},
      {"%PDF-1.4\nstartxref\n%%EOF\n", false},
      {"%!PS-Adobe-3.0\nstartxref\n116\n%%EOF\n", false},
      {"", false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.content);
    EXPECT_EQ(IsCompletePdf(row.content), row.complete);
  }
  EXPECT_FALSE(IsCompletePdf("%PDF-1.4\nstartxref\n116\n" +
                             std::string(2000, ' ') + "x%%EOF"));
}

TEST_F(JobWatcherTest, AJobWithoutProgressGivesUpAndTheNextDialogOpens) {
  const struct {
    const char* name;
    bool hung_job_ahead;  // else the job is Printing with nothing written
  } kRows[] = {{"client killed mid-job", false},
               {"queued behind a hung conversion", true}};
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    Queue().clear();
    bed.files->in_use.clear();
    Advance(200);
    bed.files->files.clear();
    bed.ui->messages.clear();
    bed.dialogs->save_answers = {kTarget, std::nullopt};
    if (row.hung_job_ahead) {
      Print(++id, "Hung").status = platform::kJobStatusPrinting;
      Write("%PDF-1.4", true);
      bed.dialogs->save_answers.push_front(std::nullopt);
    }
    Print(++id, "Stuck").status =
        row.hung_job_ahead ? 0x08 : platform::kJobStatusPrinting;
    const std::uint32_t next = ++id;
    std::uint64_t answered_at = 0;
    std::uint64_t next_asked_at = 0;
    bed.dialogs->while_save_open = [&] {
      const std::string& name = bed.dialogs->saves.back().file_name;
      if (name == "Stuck.PDF") answered_at = bed.application->now_ms;
      if (name == "Next.PDF") next_asked_at = bed.application->now_ms;
    };
    bed.application->waits = 0;
    bed.application->on_wait = [&] {
      if (bed.application->waits == 10) Print(next, "Next");
    };
    Advance(200);
    bed.application->on_wait = nullptr;
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text, "The PDF for 'Stuck' was not created.");
    EXPECT_GE(next_asked_at - answered_at, ConversionFlow::kGiveUpMs);
    EXPECT_LE(next_asked_at - answered_at, ConversionFlow::kGiveUpMs + 500);
    EXPECT_FALSE(watcher->flow_open());
  }
}

TEST_F(JobWatcherTest, AJobStillGrowingAfterLongAsksWhetherToGoOnWaiting) {
  const struct {
    const char* name;
    platform::MessageResult answer;
  } kRows[] = {{"Yes: waits on", platform::MessageResult::kYes},
               {"No: the job is cancelled", platform::MessageResult::kNo}};
  bed.spooler->log = &log;
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.ui->messages.clear();
    bed.ui->answers = {row.answer};
    bed.files->files.clear();
    bed.dialogs->save_answers = {kTarget};
    const std::uint32_t job = ++id;
    std::string content = "%PDF";
    bed.application->waits = 0;
    bed.application->on_wait = [&] {
      const int waited = bed.application->waits;
      if (waited % 100 == 0) {  // 10 s more each time, without end
        content += " more";
        Write(content, true);
      }
      if (waited == 7000) Finish(job, content);
    };
    Print(job, "Endless").status = platform::kJobStatusPrinting;
    Advance(200);
    bed.application->on_wait = nullptr;
    bed.files->in_use.clear();
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text,
              "The PDF for 'Endless' is still being created after 10 "
              "minutes.\r\nDo you want to go on waiting for it? If you answer "
              "No, the print job is cancelled.");
    EXPECT_EQ(bed.ui->messages[0].buttons, platform::MessageButtons::kYesNo);
    const bool cancelled = row.answer == platform::MessageResult::kNo;
    EXPECT_EQ(bed.files->Exists(kTarget), !cancelled);
    EXPECT_EQ(
        std::count(log.calls().begin(), log.calls().end(),
                   "spooler control-job Plumeta " + std::to_string(job) + " 5"),
        cancelled ? 1 : 0);
    EXPECT_TRUE(Queue().empty());
    EXPECT_FALSE(view.cycling);
  }
}

TEST_F(JobWatcherTest, AFlowThatFailsEndsWithAMessageAndTheNextFlowRuns) {
  // The first dialog fails before it takes an answer.
  bed.dialogs->save_answers = {std::nullopt};
  bed.dialogs->while_save_open = [this] {
    if (bed.dialogs->saves.size() == 1) {
      Print(8, "Next");
      throw std::bad_alloc();
    }
  };
  Print(7, "Letter");
  Advance(400);
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_EQ(bed.ui->messages[0].text,
            "The PDF for 'Letter' was not created.\r\nThere is not enough "
            "memory.");
  EXPECT_FALSE(view.cycling);
  ASSERT_EQ(bed.dialogs->saves.size(), 2u);
  EXPECT_EQ(bed.dialogs->saves[1].file_name, "Next.PDF");
  EXPECT_FALSE(watcher->flow_open());
}

TEST_F(JobWatcherTest, ALargePdfIsCheckedFromItsHeadAndEndOnly) {
  bed.dialogs->save_answers = {kTarget};
  bed.dialogs->while_save_open = [this] {
    Finish(7, std::string(1 << 20, 'x'));
  };
  Print(7, "Large");
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], Pdf(std::string(1 << 20, 'x')));
  EXPECT_LT(bed.files->bytes_read, 8192u);
}

TEST_F(JobWatcherTest, OnlyAFlowsWaitOpensLastResult) {
  bed.files->files[kLastResult] = "yesterday's PDF";
  Advance(2400);
  bed.dialogs->while_save_open = [this] {
    Print(8, "Second");
    Advance(2000);
  };
  bed.dialogs->save_answers = {std::nullopt, std::nullopt};
  Print(7, "Letter");
  Advance(200);
  EXPECT_EQ(bed.files->in_use_checks, 0);
}

TEST_F(JobWatcherTest, ASpoolerThatDoesNotAnswerTellsNoJobLeaving) {
  const struct {
    const char* name;
    platform::ErrorCode FakeSpooler::*fails;
  } kRows[] = {{"listing fails", &FakeSpooler::enum_jobs_error},
               {"printer cannot be opened", &FakeSpooler::open_error}};
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.files->files.erase(kTarget);
    bed.dialogs->save_answers = {kTarget};
    bed.application->waits = 0;
    const std::uint32_t job = ++id;
    bed.application->on_wait = [&] {
      const int waited = bed.application->waits;
      // RPC server unavailable: the spooler restarts.
      if (waited == 5) (*bed.spooler).*row.fails = 1722;
      if (waited == 20) (*bed.spooler).*row.fails = platform::kSuccess;
      if (waited == 25) Finish(job, "job");
    };
    Print(job, "Letter");
    Advance(200);
    EXPECT_TRUE(bed.ui->messages.empty());
    EXPECT_EQ(bed.files->files[kTarget], Pdf("job"));
  }
}

TEST_F(JobWatcherTest, AnIdHandedOutAgainIsANewJob) {
  const struct {
    const char* name;
    bool poll_between;         // a poll sees the queue without the old job
    bool first_waits_for_pdf;  // the old job's flow is open meanwhile
  } kRows[] = {{"seen again after it left", true, false},
               {"reused between two polls", false, false},
               {"reused while the old flow waits", false, true}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    Queue().clear();
    Advance(200);
    bed.files->files.clear();
    bed.dialogs->saves.clear();
    bed.dialogs->save_answers = {row.first_waits_for_pdf
                                     ? std::optional<std::string>(kTarget)
                                     : std::nullopt,
                                 std::nullopt};
    auto reuse = [&] {
      Finish(7, "old");
      if (row.poll_between) Advance(200);
      Print(7, "Second").submitted.second = 59;
    };
    bed.application->on_wait = [&] {
      if (bed.application->waits == 5) reuse();
    };
    bed.application->waits = 0;
    Print(7, "First");
    Advance(200);
    if (!row.first_waits_for_pdf) reuse();
    Advance(400);
    bed.application->on_wait = nullptr;
    ASSERT_EQ(bed.dialogs->saves.size(), 2u);
    EXPECT_EQ(bed.dialogs->saves[1].file_name, "Second.PDF");
    if (row.first_waits_for_pdf) {
      EXPECT_EQ(bed.files->files[kTarget], Pdf("old"));
    }
    EXPECT_TRUE(bed.ui->messages.empty());
  }
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
