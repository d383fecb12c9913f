// The print-job watcher: every tick of Timer1 it looks at the queue of the
// printer "Plumeta", keeps a JobTable row per job, and queues the conversion
// flow (monitor/conversion_flow.h) of each job of that printer seen for the
// first time; the flows run one after the other in the order their jobs
// were first seen, and a job seen while a flow is open waits for it to end.
// An exception that leaves a flow ends that flow with a message, and the
// next flow runs.
//
// Every job's Ghostscript writes the same file, LastResult. The port runs
// one job at a time and waits a while before each, and a job leaves the
// queue only when its Ghostscript has ended, so the poll that sees a job
// leave finds that job's PDF at LastResult, if it wrote one: the poll sets
// it aside at once under the job's own name, and the job's flow delivers
// from there. When the PDF cannot be told apart (several jobs left between
// two polls, or it could not be moved), the flow says it was not created:
// it never delivers another job's PDF.
//
// Ghostscript writes a PDF also when the job failed. The poll that sets the
// PDF aside reads the job's log too (monitor/conversion_log.h): a job that
// did not run to its end, or printed no page, gets "not created" with
// Ghostscript's error line, and its PDF is deleted.
//
// A job is known by its id while it is in the queue. Once a listing that
// succeeded lacks it, or shows its id on a job submitted at another time
// (the spooler hands ids out again after a restart), it has left and is
// forgotten: an id seen again later is a new job. A printer that cannot be
// opened (the spooler restarting) or a listing that failed tells nothing.
//
// Several users of one Windows each run a monitor on the same printer, and
// the one argument file sends every job's PDF to the temporary folder of the
// user whose monitor wrote it last. A monitor serves only its own user's
// jobs (the owner, without regard to case, against USERNAME on the NT
// family); a PDF that may be another user's is deleted unseen.
#ifndef MONITOR_JOB_WATCHER_H_
#define MONITOR_JOB_WATCHER_H_

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "monitor/conversion_flow.h"
#include "monitor/job_poll.h"
#include "monitor/job_table.h"
#include "monitor/last_result_watch.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "platform/platform.h"

namespace plumeta {

class JobWatcher {
 public:
  JobWatcher(platform::Platform& platform, FlowSettings& settings,
             FlowWindow& window, TSaveDialog& save_dialog);
  JobWatcher(const JobWatcher&) = delete;
  JobWatcher& operator=(const JobWatcher&) = delete;

  // Each tick of the main window's Timer1: one poll of "Plumeta" with
  // ProcessJob as handler, then the flows of the jobs it saw first, unless a
  // flow is already open.
  void Poll();
  // Keeps the job's row: refreshes the texts that changed, or appends a
  // row; a job of "Plumeta" and of this user not seen before gets its flow
  // queued.
  void ProcessJob(const platform::PrintJob& job);
  // Runs the queued flows one after the other; nothing while one is open.
  void RunQueuedFlows();

  // True when the file exists and cannot be opened for exclusive reading
  // and writing. Opens the file: only a flow's wait asks.
  bool FileInUse(const std::string& path);
  void FreeJobRow(int index);
  // What FormDestroy does with the JobTable: FreeJobRow for every row, then
  // all rows go.
  void ReleaseJobTable();

  const JobTable& job_table() const { return table_; }
  bool flow_open() const { return flow_open_; }
  std::size_t queued_flows() const { return queued_.size(); }
  // The flows' finishing step serves "Save Last Result As" too.
  ConversionFlow& flow() { return flow_; }

 private:
  // What a listing shows of a job's progress.
  struct JobMark {
    std::uint32_t status = 0;
    std::uint32_t size = 0;
    std::uint32_t pages_printed = 0;
    bool operator==(const JobMark&) const = default;
  };
  // A job whose flow is queued or open: what its flow reads, and its last
  // mark.
  struct QueuedJob : JobProgress {
    JobMark mark;
  };

  JobTexts TextsOf(const platform::PrintJob& job);
  // The job is this user's, or the user is not known (Windows 9x).
  bool OwnJob(const platform::PrintJob& job);
  // What a listing that succeeded tells: which jobs left, and which job
  // the port is converting.
  void NoteQueue(const std::vector<platform::PrintJob>& jobs);
  void NoteJobsLeft(const std::vector<std::uint32_t>& left,
                    bool another_users_job_left);
  void NoteConverting(const std::vector<platform::PrintJob>& jobs);
  // The job left without a PDF here: it went elsewhere when the argument
  // file now sends the output to another file than LastResult.
  PdfOutput NoPdfHere();
  // The failure the log tells of, when the log was written since the last
  // look; accounts for it.
  std::optional<std::string> NewLogFailure();
  std::uint64_t Now() { return platform_.application->TickCount(); }
  std::string LastResult() { return settings_.LastResult(); }
  void ObserveLastResult();

  platform::Platform& platform_;
  FlowSettings& settings_;
  JobTable table_;
  LastResultWatch last_result_;
  LastResultWatch log_;  // Ghostscript's messages beside LastResult
  ConversionFlow flow_;

  // The user's formats, read once.
  bool formats_read_ = false;
  std::string decimal_separator_;
  std::string short_date_picture_;
  std::string long_time_picture_;

  // The time of the poll being handled: when its new jobs were first seen.
  std::optional<std::uint64_t> poll_time_;
  // The jobs of the last poll that listed the queue: id and submission;
  // and which of them are other users' jobs.
  std::unordered_map<std::uint32_t, platform::SystemTime> in_queue_;
  std::unordered_set<std::uint32_t> others_in_queue_;
  // When each job of the last listing was first seen Printing.
  std::unordered_map<std::uint32_t, std::uint64_t> printing_since_;
  // This monitor's user, read once; empty when not known.
  std::optional<std::string> user_;
  // Jobs whose flow is queued or open.
  std::unordered_map<std::uint32_t, QueuedJob> watched_;
  std::deque<FlowJob> queued_;
  bool flow_open_ = false;
};

}  // namespace plumeta

#endif  // MONITOR_JOB_WATCHER_H_
