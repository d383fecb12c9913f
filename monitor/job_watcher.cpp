#include "monitor/job_watcher.h"

#include <algorithm>
#include <new>

#include "common/system_names.h"
#include "common/text.h"
#include "monitor/conversion_log.h"
#include "monitor/job_status.h"
#include "monitor/own_files.h"

namespace plumeta {

JobWatcher::JobWatcher(platform::Platform& platform, FlowSettings& settings,
                       FlowWindow& window, TSaveDialog& save_dialog)
    : platform_(platform),
      settings_(settings),
      last_result_(*platform.files, ""),
      log_(*platform.files, ""),
      flow_(platform, settings, window, save_dialog, last_result_) {}

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
  watched_.try_emplace(job.job_id);
  queued_.push_back({job.job_id, job.document, first_seen, job.user_name,
                     settings_.CombineJobs()});
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
  // Where the PDF of the one job that left goes aside.
  const std::string aside =
      left.size() == 1 ? AsidePath(LastResult(), left[0]) : "";
  if (failure && left.size() == 1) {
    if (only != watched_.end()) {
      only->second.output = PdfOutput::kFailed;
      only->second.failure = *failure;
    }
    // Nothing of a failed conversion stays as a result.
    if (last_result_.HasNewOutput()) {
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
          job->second.output = PdfOutput::kUnclear;
        }
      }
    } else if (only != watched_.end() &&
               only->second.output != PdfOutput::kFailed) {
      if (last_result_.SetAside(aside)) {
        only->second.output = PdfOutput::kSetAside;
        only->second.aside = aside;
      } else {
        only->second.output = PdfOutput::kUnclear;
      }
    } else {
      // Several jobs' PDF, or the PDF of a job whose flow is over: it stays
      // as the last result, and no flow takes it.
      for (std::uint32_t id : left) {
        auto job = watched_.find(id);
        if (job != watched_.end() && job->second.output != PdfOutput::kFailed) {
          job->second.output = PdfOutput::kUnclear;
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
    if (job->second.output == PdfOutput::kAwaited)
      job->second.output = NoPdfHere();
  }
}

PdfOutput JobWatcher::NoPdfHere() {
  const std::optional<std::string> output = settings_.ArgumentFileOutput();
  return output && !SameName(*output, LastResult()) ? PdfOutput::kElsewhere
                                                    : PdfOutput::kNone;
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
    const FlowJob job = queued_.front();
    queued_.pop_front();
    // The polls during the flow keep it up to date.
    const QueuedJob& progress = watched_[job.job_id];
    try {
      ObserveLastResult();
      flow_.Run(job, progress);
    } catch (const std::bad_alloc&) {
      flow_.Failed(job, progress, "There is not enough memory.");
    } catch (const std::exception& error) {
      flow_.Failed(job, progress, error.what());
    }
    // A job that left during its flow is forgotten with it.
    if (progress.output != PdfOutput::kAwaited) table_.Forget(job.job_id);
    watched_.erase(job.job_id);
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
