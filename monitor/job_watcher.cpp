#include "monitor/job_watcher.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "common/application_error.h"
#include "common/os_edition.h"
#include "common/system_names.h"
#include "common/text.h"
#include "monitor/conversion_log.h"
#include "monitor/file_name_template.h"
#include "monitor/job_status.h"
#include "monitor/own_files.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {

JobWatcher::JobWatcher(platform::Platform& platform, MonitorView& view,
                       TSaveDialog& save_dialog)
    : platform_(platform),
      view_(view),
      save_dialog_(save_dialog),
      last_result_(*platform.files, ""),
      log_(*platform.files, "") {
  // Whole seconds, 1 to 999999.
  const std::string seconds =
      platform.system->Environment(kGiveUpVariable).value_or("");
  std::uint64_t value = 0;
  bool digits = !seconds.empty() && seconds.size() <= 6;
  for (char c : seconds) {
    digits = digits && c >= '0' && c <= '9';
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (digits && value > 0) give_up_ms_ = value * 1000;
}

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
  const bool listed =
      ListQueue(*platform_.spooler, kPrinterName, &jobs) == QueueAnswer::kJobs;
  if (listed) NoteQueue(jobs);
  poll_time_ = now;
  for (const platform::PrintJob& job : jobs) ProcessJob(job);
  poll_time_.reset();
  if (listed) NoteConverting(jobs);
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

// USERNAME is the name the spooler gives the jobs of the session's user.
// Windows 9x has one user at a time, and jobs whose owner it may not name.
bool JobWatcher::OwnJob(const platform::PrintJob& job) {
  if (!user_) {
    const auto version = platform_.system->Version();
    user_ = version && version->platform == platform::PlatformId::kNt
                ? platform_.system->Environment("USERNAME").value_or("")
                : "";
  }
  return user_->empty() || SameName(job.user_name, *user_);
}

void JobWatcher::ProcessJob(const platform::PrintJob& job) {
  JobTexts texts = TextsOf(job);
  if (const int index = table_.Find(job.job_id); index >= 0) {
    // Another job under the id of one whose flow is still open: its turn
    // comes once that flow has ended.
    const auto& record = table_.row(index).record;
    if (record && !(record->submitted == job.submitted)) return;
    table_.Refresh(index, texts);
    return;
  }
  table_.Append(job, std::move(texts));
  // Another user's job is that user's monitor's to serve.
  if (job.printer_name != kPrinterName || !OwnJob(job)) return;
  const std::uint64_t first_seen = poll_time_ ? *poll_time_ : Now();
  watched_[job.job_id].first_seen = first_seen;
  queued_.push_back({job.job_id, job.document, first_seen, job.user_name,
                     view_.CombineJobs()});
}

// Which jobs left the queue since the last listing, and whether one of
// them was another user's.
void JobWatcher::NoteQueue(const std::vector<platform::PrintJob>& jobs) {
  std::unordered_map<std::uint32_t, platform::SystemTime> present;
  std::unordered_set<std::uint32_t> others;
  for (const platform::PrintJob& job : jobs) {
    present.emplace(job.job_id, job.submitted);
    if (!OwnJob(job)) others.insert(job.job_id);
  }
  std::vector<std::uint32_t> left;
  bool another_users_job_left = false;
  for (const auto& [id, submitted] : in_queue_) {
    const auto now = present.find(id);
    if (now != present.end() && now->second == submitted) continue;
    left.push_back(id);
    if (others_in_queue_.count(id)) another_users_job_left = true;
  }
  if (!left.empty()) NoteJobsLeft(left, another_users_job_left);
  in_queue_ = std::move(present);
  others_in_queue_ = std::move(others);
}

// LastResult's growth is the progress of the job the port converts: the
// port takes one job at a time, so of the jobs Printing it is the one that
// started last; one that has been Printing since before (its client died)
// is not converted.
void JobWatcher::NoteConverting(const std::vector<platform::PrintJob>& jobs) {
  std::unordered_map<std::uint32_t, std::uint64_t> since;
  std::uint64_t latest = 0;
  for (const platform::PrintJob& job : jobs) {
    if ((job.status & platform::kJobStatusPrinting) == 0) continue;
    const auto known = printing_since_.find(job.job_id);
    const std::uint64_t start =
        known == printing_since_.end() ? Now() : known->second;
    since.emplace(job.job_id, start);
    latest = std::max(latest, start);
  }
  printing_since_ = std::move(since);
  for (const platform::PrintJob& job : jobs) {
    auto watched = watched_.find(job.job_id);
    if (watched == watched_.end()) continue;
    QueuedJob& queued = watched->second;
    const auto printing = printing_since_.find(job.job_id);
    queued.converting =
        printing != printing_since_.end() && printing->second == latest;
    const JobMark mark{job.status, job.size, job.pages_printed};
    if (!(mark == queued.mark)) {
      queued.mark = mark;
      ++queued.marks;
    }
  }
}

// A job leaves the queue when its Ghostscript has ended, and the port waits
// before it starts the next one: a PDF written since the last one accounted
// for is the output of the job that left, when only one did.
void JobWatcher::NoteJobsLeft(const std::vector<std::uint32_t>& left,
                              bool another_users_job_left) {
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
    if (another_users_job_left) {
      // Another user's job wrote here, as this monitor wrote the argument
      // file last: that PDF may be the other user's, and nobody here sees
      // it. A job of this user that left with it cannot be told apart.
      last_result_.DeleteNew(Now());
      for (std::uint32_t id : left) {
        if (auto job = watched_.find(id); job != watched_.end()) {
          job->second.output = Output::kUnclear;
        }
      }
    } else if (only != watched_.end() &&
               only->second.output != Output::kFailed) {
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
    if (job == watched_.end()) {
      table_.Forget(id);
      continue;
    }
    job->second.converting = false;
    if (job->second.output == Output::kAwaited)
      job->second.output = NoPdfHere();
  }
}

JobWatcher::Output JobWatcher::NoPdfHere() {
  const std::optional<std::string> output = view_.ArgumentFileOutput();
  return output && !SameName(*output, LastResult()) ? Output::kElsewhere
                                                    : Output::kNone;
}

std::string JobWatcher::AsidePath(std::uint32_t job_id) {
  return plumeta::AsidePath(LastResult(), job_id);
}

void JobWatcher::RunQueuedFlows() {
  if (flow_open_) return;
  flow_open_ = true;
  // Whatever ends the loop, the next poll may open flows again.
  struct FlowsClosed {
    bool& open;
    ~FlowsClosed() { open = false; }
  } closed{flow_open_};
  while (!queued_.empty() && !platform_.application->Terminated()) {
    const QueuedFlow flow = queued_.front();
    queued_.pop_front();
    try {
      RunFlow(flow);
    } catch (const std::bad_alloc&) {
      FlowFailed(flow, "There is not enough memory.");
    } catch (const std::exception& error) {
      FlowFailed(flow, error.what());
    }
    // A job that left during its flow is forgotten with it.
    auto job = watched_.find(flow.job_id);
    if (job->second.output != Output::kAwaited) table_.Forget(flow.job_id);
    watched_.erase(job);
  }
}

void JobWatcher::FlowFailed(const QueuedFlow& flow, const std::string& reason) {
  StopAnimation();
  view_.ConcealMainWindow();
  if (watched_[flow.job_id].output == Output::kSetAside) {
    last_result_.Restore(AsidePath(flow.job_id), Now());
  }
  ShowErrorBox(
      *platform_.user_interface, kMonitorTitle,
      "The PDF for '" + flow.document + "' was not created.\r\n" + reason);
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
  // A collected PDF goes nowhere yet: nothing to ask.
  const bool collect = flow.collect;
  const std::string folder = collect ? "" : view_.AutoSaveFolder();
  std::string target;
  if (folder.empty() && !collect) {
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
    case WaitEnd::kCancelled:
      StopAnimation();
      CancelJob(flow);
      return;
    case WaitEnd::kDamaged:
      last_result_.Restore(AsidePath(flow.job_id), Now());
      [[fallthrough]];
    case WaitEnd::kGaveUp:
      StopAnimation();
      NotCreated(flow);
      return;
    case WaitEnd::kElsewhere:
      StopAnimation();
      WentElsewhere(flow);
      return;
    case WaitEnd::kFailed:
      StopAnimation();
      NotCreated(flow, watched_[flow.job_id].failure);
      return;
    case WaitEnd::kReady:
      break;
  }

  if (collect) {
    std::string into;
    if (const platform::ErrorCode code = view_.AddToCombinedPdf(
            AsidePath(flow.job_id), flow.document, flow.user, &into);
        code != platform::kSuccess) {
      KeepAfterFailure(flow, into, code);
      return;
    }
    StopAnimation();
    return;
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
  // LastResult and the names PDFs are set aside under, when the folder is
  // the temporary one.
  const OwnFiles own{LastResult(), {}};
  const auto own_file = [&](const std::string& path) {
    return IsOwnFile(*platform_.files, own, path);
  };
  if (const platform::ErrorCode code = DeliverPdfAsNew(
          *platform_.files, aside, folder, stem, own_file, &delivered);
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

void JobWatcher::WentElsewhere(const QueuedFlow& flow) {
  platform_.user_interface->MessageBox(
      "The PDF for '" + flow.document +
          "' went to another user's folder: Plumeta serves one user at a "
          "time, the one in front of the computer.",
      kMonitorTitle, platform::MessageButtons::kOk,
      platform::MessageIcon::kError, /*owned_by_main_window=*/true);
}

// Progress is a new mark of the job in the queue, or LastResult growing
// while the port converts the job. Its size and time are read from the
// open file: NTFS brings a folder entry up to date only when the writer
// closes the file.
JobWatcher::WaitEnd JobWatcher::WaitForPdf(const QueuedFlow& flow) {
  const std::uint64_t started = Now();
  std::uint64_t progressed = started;
  std::uint64_t ask_at = started + kAskAfterMs;
  std::uint64_t marks = watched_[flow.job_id].marks;
  std::optional<platform::FileFacts> output;
  for (;;) {
    if (platform_.application->Terminated()) return WaitEnd::kQuit;
    const QueuedJob& job = watched_[flow.job_id];
    switch (job.output) {
      case Output::kSetAside:
        return IsCompletePdfFile(*platform_.files, AsidePath(flow.job_id))
                   ? WaitEnd::kReady
                   : WaitEnd::kDamaged;
      case Output::kNone:
      case Output::kUnclear:
        return WaitEnd::kGaveUp;
      case Output::kElsewhere:
        return WaitEnd::kElsewhere;
      case Output::kFailed:
        return WaitEnd::kFailed;
      case Output::kAwaited:
        break;
    }
    const std::uint64_t now = Now();
    bool progress = job.marks != marks;
    marks = job.marks;
    if (job.converting) {
      std::optional<platform::FileFacts> facts =
          platform_.files->Facts(LastResult());
      if (facts && (!output || facts->size != output->size ||
                    facts->modified != output->modified)) {
        progress = true;
      }
      output = std::move(facts);
    }
    if (progress) {
      progressed = now;
    } else if (now - progressed >= give_up_ms_) {
      return WaitEnd::kGaveUp;
    }
    if (now >= ask_at) {
      if (!GoOnWaiting(flow, now - started) &&
          watched_[flow.job_id].output == Output::kAwaited) {
        return WaitEnd::kCancelled;
      }
      progressed = Now();
      ask_at = progressed + kAskAfterMs;
    }
    platform_.application->WaitForMessages(kWaitStepMs);
  }
}

bool JobWatcher::GoOnWaiting(const QueuedFlow& flow, std::uint64_t waited_ms) {
  return platform_.user_interface->MessageBox(
             "The PDF for '" + flow.document +
                 "' is still being created after " +
                 std::to_string(waited_ms / 60'000) +
                 " minutes.\r\nDo you want to go on waiting for it? If you "
                 "answer No, the print job is cancelled.",
             kMonitorTitle, platform::MessageButtons::kYesNo,
             platform::MessageIcon::kQuestion,
             /*owned_by_main_window=*/true) != platform::MessageResult::kNo;
}

void JobWatcher::CancelJob(const QueuedFlow& flow) {
  std::unique_ptr<platform::Printer> printer;
  platform::ErrorCode code = platform_.spooler->Open(
      kPrinterName, platform::kPrinterAccessUse, &printer);
  if (code == platform::kSuccess) {
    code = printer->ControlJob(flow.job_id, platform::kJobControlDelete);
    // Windows 9x knows only JOB_CONTROL_CANCEL.
    if (code == platform::kErrorInvalidParameter) {
      code = printer->ControlJob(flow.job_id, platform::kJobControlCancel);
    }
  }
  if (code == platform::kSuccess) return;
  std::string reason = platform_.system->ErrorMessage(code);
  while (!reason.empty() &&
         std::isspace(static_cast<unsigned char>(reason.back())))
    reason.pop_back();
  ShowErrorBox(*platform_.user_interface, kMonitorTitle,
               "The print job '" + flow.document +
                   "' could not be cancelled.\r\n" + reason);
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
