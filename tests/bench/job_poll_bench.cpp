// Not a test: how the cost of one job poll grows with the JobTable. Polls a
// queue of 50 jobs once the table holds 10 other rows, and again once it
// holds 10,000, and prints both times and their ratio. With rows found
// through the index the ratio stays near 1; a scan from the top makes it
// grow with the table.
#include <chrono>
#include <cstdio>
#include <memory>

#include "monitor/job_watcher.h"
#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/fake_dialogs.h"
#include "tests/unit/support/fake_files.h"
#include "tests/unit/support/fake_locale.h"
#include "tests/unit/support/fake_monitor_view.h"
#include "tests/unit/support/fake_shell.h"
#include "tests/unit/support/fake_spooler.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/fake_user_interface.h"

namespace plumeta {
namespace {

constexpr int kQueuedJobs = 50;
constexpr int kPolls = 2000;

platform::PrintJob Job(std::uint32_t id, const char* printer) {
  platform::PrintJob job;
  job.job_id = id;
  job.printer_name = printer;
  job.machine_name = "\\\\PLUMBOX";
  job.user_name = "User";
  job.document = "Document " + std::to_string(id);
  job.status = 0x08;
  job.size = 1536 * id;
  job.submitted = {2024, 5, 3, 1, 12, 30, 5, 0};
  return job;
}

// Microseconds per poll of the 50 queued jobs once `other_rows` rows of
// earlier jobs are in the table.
double MicrosecondsPerPoll(int other_rows) {
  platform::Platform platform;
  auto* spooler = new testing::FakeSpooler;
  platform.spooler.reset(spooler);
  platform.files = std::make_unique<testing::FakeFiles>();
  platform.system = std::make_unique<testing::FakeSystem>();
  platform.application = std::make_unique<testing::FakeApplication>();
  platform.dialogs = std::make_unique<testing::FakeDialogs>();
  platform.user_interface = std::make_unique<testing::FakeUserInterface>();
  platform.shell = std::make_unique<testing::FakeShell>();
  platform.locale = std::make_unique<testing::FakeLocale>();
  platform::PrinterInfo2 info;
  info.printer_name = "Plumeta";
  spooler->printers.push_back({info, {}});
  auto& queue = spooler->printers[0].jobs;

  testing::FakeMonitorView view;
  view.show_pdf_when_done = false;
  TSaveDialog save_dialog(*platform.dialogs);
  JobWatcher watcher(platform, view, view, save_dialog);

  // The earlier jobs, printed through a connection: rows without flows.
  for (int i = 1; i <= other_rows; ++i) {
    queue.push_back(Job(i, "\\\\server\\Plumeta"));
  }
  watcher.Poll();
  queue.clear();
  for (int i = 1; i <= kQueuedJobs; ++i) {
    queue.push_back(Job(other_rows + i, "\\\\server\\Plumeta"));
  }
  watcher.Poll();  // their rows
  const auto start = std::chrono::steady_clock::now();
  for (int poll = 0; poll < kPolls; ++poll) {
    queue[poll % kQueuedJobs].status ^= 0x10;  // one row changes each poll
    watcher.Poll();
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::micro>(elapsed).count() / kPolls;
}

}  // namespace
}  // namespace plumeta

int main() {
  // A warm-up round, then the measured ones.
  plumeta::MicrosecondsPerPoll(10);
  const double small = plumeta::MicrosecondsPerPoll(10);
  const double large = plumeta::MicrosecondsPerPoll(10'000);
  std::printf(
      "poll of %d queued jobs, JobTable with 10 other rows:     %8.2f us\n",
      plumeta::kQueuedJobs, small);
  std::printf(
      "poll of %d queued jobs, JobTable with 10,000 other rows: %8.2f us\n",
      plumeta::kQueuedJobs, large);
  std::printf("ratio (10,000 / 10): %.2f\n", large / small);
  return 0;
}
