// The print-job watcher on fakes, for the tests of its flows: the spooler
// with the printer "Plumeta", the main window as a recording fake view, and
// Ghostscript's side of a job in fake time.
#ifndef TESTS_UNIT_SUPPORT_JOB_WATCHER_BED_H_
#define TESTS_UNIT_SUPPORT_JOB_WATCHER_BED_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "monitor/job_watcher.h"
#include "tests/unit/support/fake_monitor_view.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta::testing {

inline constexpr char kLastResult[] = "C:\\Temp\\1024.pdf";
inline constexpr char kTarget[] = "C:\\Users\\me\\Letter.PDF";

class JobWatcherTest : public ::testing::Test {
 public:
  JobWatcherTest() {
    platform::PrinterInfo2 plumeta;
    plumeta.printer_name = "Plumeta";
    plumeta.port_name = "PLUM:";
    bed.spooler->printers.push_back({plumeta, {}});
    view.last_result = kLastResult;
    view.os_name = "Microsoft Windows XP";
    watcher =
        std::make_unique<JobWatcher>(bed.platform, view, view, save_dialog);
    bed.application->SetTimer(200, [this] { watcher->Poll(); });
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
  // A whole PDF that holds `text`.
  static std::string Pdf(const std::string& text) {
    return "%PDF-1.4\n(" + text + ")\nstartxref\n116\n%%EOF\n";
  }
  // Ghostscript at work on LastResult.
  void Write(const std::string& content, bool still_writing) {
    bed.files->files[kLastResult] = content;
    bed.files->Touch(kLastResult);
    if (still_writing) {
      bed.files->in_use.insert(kLastResult);
    } else {
      bed.files->in_use.erase(kLastResult);
    }
  }
  // The job's Ghostscript has written its whole PDF and the job leaves.
  void Finish(std::uint32_t id, const std::string& text) {
    Write(Pdf(text), false);
    LeaveQueue(id);
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
  // No auto-save folder: the save dialog asks.
  testing::FakeMonitorView view;
  testing::CallLog log;
  TSaveDialog save_dialog{*bed.dialogs};
  std::unique_ptr<JobWatcher> watcher;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_JOB_WATCHER_BED_H_
