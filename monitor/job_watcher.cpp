#include "monitor/job_watcher.h"

#include "common/application_error.h"
#include "common/os_edition.h"
#include "common/system_names.h"
#include "monitor/conversion_log.h"
#include "monitor/file_name_template.h"
#include "monitor/job_status.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {

JobWatcher::JobWatcher(platform::Platform& platform, MonitorView& view,
                       TSaveDialog& save_dialog)
    : platform_(platform),
      view_(view),
      save_dialog_(save_dialog),
      last_result_(*platform.files, ""),
      log_(*platform.files, "") {}

void JobWatcher::ObserveLastResult() {
  const std::string path = LastResult();
  if (path != last_result_.path()) {
    last_result_.set_path(path);
    log_.set_path(ConversionLogPath(path));
  }
  last_result_.Observe();
  log_.Observe();
}

std::optional<std::string> JobWatcher::NewLogFailure() {
  if (!log_.HasNewOutput()) return std::nullopt;
  log_.Account(Now());
  const std::optional<std::string> text =
      platform_.files->ReadFile(log_.path());
  if (!text) return std::nullopt;
  const ConversionVerdict verdict = ReadConversionLog(*text);
  if (verdict.completed) return std::nullopt;
  return verdict.reason;
}

void JobWatcher::Poll() {
  const std::uint64_t now = Now();
  ObserveLastResult();
  std::vector<platform::PrintJob> jobs;
  const QueueAnswer answer = ListQueue(*platform_.spooler, kPrinterName, &jobs);
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
  if (job.printer_name != kPrinterName) return;
  const std::uint64_t first_seen = poll_time_ ? *poll_time_ : Now();
  watched_[job.job_id] = {first_seen};
  queued_.push_back({job.job_id, job.document, first_seen, job.user_name});
}

// Which jobs left the queue since the last poll. A printer that cannot be
// opened holds no jobs; a failed listing tells nothing.
void JobWatcher::NoteQueue(QueueAnswer answer,
                           const std::vector<platform::PrintJob>& jobs) {
  if (answer == QueueAnswer::kFailed) return;
  std::unordered_set<std::uint32_t> present;
  for (const platform::PrintJob& job : jobs) {
    present.insert(job.job_id);
    if (auto watched = watched_.find(job.job_id); watched != watched_.end()) {
      watched->second.converting =
          (job.status & platform::kJobStatusPrinting) != 0;
    }
  }
  std::vector<std::uint32_t> left;
  for (std::uint32_t id : in_queue_) {
    if (!present.count(id)) left.push_back(id);
  }
  if (!left.empty()) NoteJobsLeft(left);
  in_queue_ = std::move(present);
}

// A job leaves the queue when its Ghostscript has ended, and the port waits
// before it starts the next one: a PDF written since the last one accounted
// for is the output of the job that left, when only one did.
void JobWatcher::NoteJobsLeft(const std::vector<std::uint32_t>& left) {
  // The log, like the PDF, is the job's when only one job left.
  const std::optional<std::string> failure = NewLogFailure();
  auto only = left.size() == 1 ? watched_.find(left[0]) : watched_.end();
  if (failure && left.size() == 1) {
    if (only != watched_.end()) {
      only->second.output = Output::kFailed;
      only->second.failure = *failure;
    }
    // Nothing of a failed conversion stays as a result.
    if (last_result_.HasNewOutput()) {
      const std::string aside = AsidePath(left[0]);
      if (last_result_.SetAside(aside)) platform_.files->Delete(aside);
    }
  }
  if (last_result_.HasNewOutput()) {
    if (only != watched_.end() && only->second.output != Output::kFailed) {
      only->second.output = last_result_.SetAside(AsidePath(left[0]))
                                ? Output::kSetAside
                                : Output::kUnclear;
    } else {
      // Several jobs' PDF, or the PDF of a job whose flow is over: it stays
      // as the last result, and no flow takes it.
      for (std::uint32_t id : left) {
        auto job = watched_.find(id);
        if (job != watched_.end() && job->second.output != Output::kFailed) {
          job->second.output = Output::kUnclear;
        }
      }
    }
    if (last_result_.HasNewOutput()) last_result_.Account(Now());
  }
  for (std::uint32_t id : left) {
    auto job = watched_.find(id);
    if (job == watched_.end()) continue;
    job->second.converting = false;
    if (job->second.output == Output::kAwaited)
      job->second.output = Output::kNone;
  }
}

std::string JobWatcher::AsidePath(std::uint32_t job_id) {
  std::string path = LastResult();
  const std::size_t dot = path.find_last_of(".\\");
  if (dot != std::string::npos && path[dot] == '.') path.erase(dot);
  return path + "-" + std::to_string(job_id) + ".pdf";
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
  view_.SetCycleIcons(false);
  view_.SetIconIndex(0);
}

void JobWatcher::RunFlow(const QueuedFlow& flow) {
  view_.SetCycleIcons(true);
  // An old last result goes; a PDF written since is some job's and stays.
  ObserveLastResult();
  last_result_.DeleteLeftover(flow.first_seen);
  const platform::Size screen = platform_.application->ScreenSize();
  view_.PlaceBalloon(screen.width - kBalloonFromRight,
                     screen.height - kBalloonFromBottom);
  // NT 4.0 and earlier have no balloons.
  const bool balloons = !IsOldNtName(view_.OsName());
  if (balloons) view_.ShowBalloon();
  const std::string folder = view_.AutoSaveFolder();
  std::string target;
  if (folder.empty()) {
    view_.RevealMainWindow();
    save_dialog_.set_file_name(
        ProposedFileName(flow.document, *platform_.locale));
    if (!save_dialog_.Execute()) {
      // The PDF is the last result, for the menu's commands.
      const std::string aside = AsidePath(flow.job_id);
      if (watched_[flow.job_id].output == Output::kSetAside &&
          !last_result_.Restore(aside, Now())) {
        platform_.files->Delete(aside);  // a newer last result is there
      }
      StopAnimation();
      return;
    }
    target = save_dialog_.file_name();
    view_.ConcealMainWindow();
  }

  switch (WaitForPdf(flow)) {
    case WaitEnd::kQuit:
      StopAnimation();
      return;
    case WaitEnd::kDamaged:
      last_result_.Restore(AsidePath(flow.job_id), Now());
      [[fallthrough]];
    case WaitEnd::kGaveUp:
      StopAnimation();
      NotCreated(flow);
      return;
    case WaitEnd::kFailed:
      StopAnimation();
      NotCreated(flow, watched_[flow.job_id].failure);
      return;
    case WaitEnd::kReady:
      break;
  }

  const std::optional<std::string> delivered =
      folder.empty() ? Deliver(flow, target) : AutoSave(flow, folder);
  if (!delivered) return;
  if (!folder.empty() && balloons) {
    view_.ShowNotice({"The PDF was saved as", *delivered});
  }
  if (view_.ShowPdfWhenDone()) {
    platform_.shell->Execute({/*owned_by_main_window=*/true, "open", *delivered,
                              "", "", platform::kShow});
  }
  StopAnimation();
}

std::optional<std::string> JobWatcher::Deliver(const QueuedFlow& flow,
                                               const std::string& target) {
  platform::Files& files = *platform_.files;
  const std::string aside = AsidePath(flow.job_id);
  const bool target_is_aside = SameFile(files, aside, target);
  if (const platform::ErrorCode code = DeliverPdf(files, aside, target);
      code != platform::kSuccess) {
    KeepAfterFailure(flow, target, code);
    return std::nullopt;
  }
  if (!target_is_aside) files.Delete(aside);
  return target;
}

std::optional<std::string> JobWatcher::AutoSave(const QueuedFlow& flow,
                                                const std::string& folder) {
  platform::Locale& locale = *platform_.locale;
  TemplateFacts facts;
  facts.title = flow.document;
  facts.user = flow.user.empty()
                   ? platform_.system->Environment("USERNAME").value_or("")
                   : flow.user;
  facts.time = locale.LocalTime();
  facts.job_id = flow.job_id;
  facts.printer = kPrinterName;
  const std::string stem = FitFileNameStem(
      ExpandFileNameTemplate(view_.FileNameTemplate(), facts, locale), folder,
      locale);
  const std::string aside = AsidePath(flow.job_id);
  std::string delivered;
  if (const platform::ErrorCode code =
          DeliverPdfAsNew(*platform_.files, aside, folder, stem, &delivered);
      code != platform::kSuccess) {
    KeepAfterFailure(flow, NumberedPdfPath(folder, stem, 1), code);
    return std::nullopt;
  }
  platform_.files->Delete(aside);
  return delivered;
}

// The PDF stays, as the last result where it can.
void JobWatcher::KeepAfterFailure(const QueuedFlow& flow,
                                  const std::string& target,
                                  platform::ErrorCode code) {
  const std::string aside = AsidePath(flow.job_id);
  const std::string kept =
      last_result_.Restore(aside, Now()) ? LastResult() : aside;
  StopAnimation();
  ShowDeliveryFailure(*platform_.user_interface, *platform_.system, kept,
                      target, code);
}

void JobWatcher::NotCreated(const QueuedFlow& flow, const std::string& reason) {
  std::string text = "The PDF for '" + flow.document + "' was not created.";
  if (!reason.empty()) text += "\r\n" + reason;
  platform_.user_interface->MessageBox(text, kMonitorTitle,
                                       platform::MessageButtons::kOk,
                                       platform::MessageIcon::kError,
                                       /*owned_by_main_window=*/true);
}

JobWatcher::WaitEnd JobWatcher::WaitForPdf(const QueuedFlow& flow) {
  bool writing = false;
  std::uint64_t size = 0;
  std::uint64_t grown_at = 0;
  for (;;) {
    if (platform_.application->Terminated()) return WaitEnd::kQuit;
    const QueuedJob& job = watched_[flow.job_id];
    switch (job.output) {
      case Output::kSetAside: {
        const std::optional<std::string> pdf =
            platform_.files->ReadFile(AsidePath(flow.job_id));
        return pdf && IsCompletePdf(*pdf) ? WaitEnd::kReady : WaitEnd::kDamaged;
      }
      case Output::kNone:
      case Output::kUnclear:
        return WaitEnd::kGaveUp;
      case Output::kFailed:
        return WaitEnd::kFailed;
      case Output::kAwaited:
        break;
    }
    // Only the job being converted can stall: one queued behind a hung job
    // waits its turn.
    const std::uint64_t now = Now();
    if (job.converting && FileInUse(LastResult())) {
      const std::uint64_t current =
          platform_.files->Size(LastResult()).value_or(0);
      if (!writing || current > size) {
        writing = true;
        size = current;
        grown_at = now;
      } else if (now - grown_at >= kStallTimeoutMs) {
        return WaitEnd::kGaveUp;
      }
    } else {
      writing = false;
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
