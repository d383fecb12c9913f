#include "monitor/job_watcher.h"

#include "common/application_error.h"
#include "monitor/job_status.h"
#include "monitor/main_form.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {

JobWatcher::JobWatcher(platform::Platform& platform, ConversionTray& tray,
                       TSaveDialog& save_dialog, MonitorState state)
    : platform_(platform),
      tray_(tray),
      save_dialog_(save_dialog),
      state_(std::move(state)),
      last_result_(*platform.files, "") {}

void JobWatcher::ObserveLastResult(std::uint64_t now) {
  const std::string path = LastResult();
  if (path != last_result_.path()) last_result_.set_path(path);
  last_result_.Observe(now);
}

void JobWatcher::Timer1Timer() {
  const std::uint64_t now = Now();
  ObserveLastResult(now);
  std::vector<platform::PrintJob> jobs;
  const QueueAnswer answer =
      ListQueue(*platform_.spooler, kWatchedPrinter, &jobs);
  poll_time_ = now;
  for (const platform::PrintJob& job : jobs) ProcessJob(job);
  poll_time_.reset();
  NoteQueue(answer, jobs);
  RunQueuedFlows();
}

JobTexts JobWatcher::TextsOf(const platform::PrintJob& job) {
  if (!formats_read_) {
    platform::Locale& locale = *platform_.locale;
    decimal_separator_ = locale.DecimalSeparator();
    short_date_picture_ = locale.ShortDatePicture();
    long_time_picture_ = locale.LongTimePicture();
    formats_read_ = true;
  }
  return {job.machine_name,
          job.printer_name,
          job.document,
          StatusWords(job.status),
          job.user_name,
          SizeText(job.size, decimal_separator_),
          std::to_string(job.pages_printed),
          StartAtText(job.submitted, *platform_.locale, short_date_picture_,
                      long_time_picture_)};
}

void JobWatcher::ProcessJob(const platform::PrintJob& job) {
  JobTexts texts = TextsOf(job);
  if (const int index = table_.Find(job.job_id); index >= 0) {
    table_.Refresh(index, texts);
    return;
  }
  table_.Append(job, std::move(texts));
  if (job.printer_name != kWatchedPrinter) return;
  const std::uint64_t first_seen = poll_time_ ? *poll_time_ : Now();
  watched_[job.job_id] = {first_seen, std::nullopt};
  queued_.push_back({job.job_id, job.document, first_seen});
}

// Which jobs left the queue since the last poll. A printer that cannot be
// opened holds no jobs; a failed listing tells nothing.
void JobWatcher::NoteQueue(QueueAnswer answer,
                           const std::vector<platform::PrintJob>& jobs) {
  if (answer == QueueAnswer::kFailed) return;
  const std::uint64_t now = Now();
  std::unordered_set<std::uint32_t> present;
  for (const platform::PrintJob& job : jobs) present.insert(job.job_id);
  for (std::uint32_t id : in_queue_) {
    if (!present.count(id)) last_result_.JobLeft(id);
  }
  for (auto& [id, watched] : watched_) {
    if (present.count(id)) {
      watched.left_at.reset();
    } else if (!watched.left_at) {
      watched.left_at = now;
    }
  }
  in_queue_ = std::move(present);
}

void JobWatcher::RunQueuedFlows() {
  if (flow_open_) return;
  flow_open_ = true;
  while (!queued_.empty() && !platform_.application->Terminated()) {
    const QueuedFlow flow = queued_.front();
    queued_.pop_front();
    RunFlow(flow);
    watched_.erase(flow.job_id);
  }
  flow_open_ = false;
}

void JobWatcher::StopAnimation() {
  tray_.SetCycleIcons(false);
  tray_.SetIconIndex(0);
}

void JobWatcher::RunFlow(const QueuedFlow& flow) {
  platform::Files& files = *platform_.files;
  const std::string last_result = LastResult();
  tray_.SetCycleIcons(true);
  // A LastResult older than the job, or another job's, is not this job's
  // PDF; one that appeared after the job was first seen may well be.
  ObserveLastResult(Now());
  if (files.Exists(last_result) &&
      !last_result_.BelongsTo(flow.job_id, flow.first_seen)) {
    files.Delete(last_result);
  }
  const platform::Size screen = platform_.application->ScreenSize();
  tray_.PlaceBalloon(screen.width - 90, screen.height - 25);
  // NT 4.0 and earlier have no balloons.
  if (state_.os_name().find("Windows NT") == std::string::npos) {
    tray_.ShowBalloon();
  }
  tray_.RevealMainWindow();
  save_dialog_.set_file_name(ProposedFileName(flow.document));
  if (!save_dialog_.Execute()) {
    // Ghostscript's output stays at LastResult for the menu's commands.
    StopAnimation();
    return;
  }
  const std::string target = save_dialog_.file_name();
  tray_.ConcealMainWindow();

  switch (WaitForLastResult(flow)) {
    case WaitEnd::kQuit:
      StopAnimation();
      return;
    case WaitEnd::kGaveUp:
      StopAnimation();
      platform_.user_interface->MessageBox(
          "The PDF for '" + flow.document + "' was not created.", kMonitorTitle,
          platform::MessageButtons::kOk, platform::MessageIcon::kError,
          /*owned_by_main_window=*/true);
      return;
    case WaitEnd::kReady:
      break;
  }

  std::string failure;
  if (!DeliverPdf(files, *platform_.system, last_result, target, &failure)) {
    // LastResult stays: it is the only copy of the PDF.
    StopAnimation();
    ShowDeliveryFailure(*platform_.user_interface, failure);
    return;
  }
  if (!SamePath(last_result, target) && files.Exists(last_result)) {
    files.Delete(last_result);
  }
  if (state_.show_pdf_when_done()) {
    platform_.shell->Execute({/*owned_by_main_window=*/true, "open", target, "",
                              "", platform::kShow});
  }
  StopAnimation();
}

JobWatcher::WaitEnd JobWatcher::WaitForLastResult(const QueuedFlow& flow) {
  const std::string last_result = LastResult();
  bool writing = false;
  std::uint64_t size = 0;
  std::uint64_t grown_at = 0;
  for (;;) {
    if (platform_.application->Terminated()) return WaitEnd::kQuit;
    const std::uint64_t now = Now();
    ObserveLastResult(now);
    if (!last_result_.BelongsTo(flow.job_id, flow.first_seen)) {
      // Not there yet.
      writing = false;
      const QueuedJob& job = watched_[flow.job_id];
      if (job.left_at && now - *job.left_at >= kAppearTimeoutMs) {
        return WaitEnd::kGaveUp;
      }
    } else if (FileInUse(last_result)) {
      const std::uint64_t current =
          platform_.files->Size(last_result).value_or(0);
      if (!writing || current > size) {
        writing = true;
        size = current;
        grown_at = now;
      } else if (now - grown_at >= kStallTimeoutMs) {
        return WaitEnd::kGaveUp;
      }
    } else {
      return WaitEnd::kReady;
    }
    platform_.application->WaitForMessages(kWaitStepMs);
  }
}

bool JobWatcher::FileInUse(const std::string& path) {
  platform::Files& files = *platform_.files;
  return files.Exists(path) && files.InUse(path);
}

void JobWatcher::FreeJobRow(int index) { table_.FreeJobRow(index); }

void JobWatcher::ReleaseJobTable() {
  for (int i = 0; i < table_.size(); ++i) FreeJobRow(i);
  table_.Clear();
}

}  // namespace plumeta
