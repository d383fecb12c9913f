// The print-job watcher: every tick of Timer1 it looks at the queue of the
// printer "Plumeta", keeps a JobTable row per job, and for each job of that
// printer seen for the first time runs the conversion flow: animate the
// tray icon, show the balloon and the main window, ask where the PDF goes,
// wait for the job's PDF, copy it there, delete it, open the copy when
// "Show PDF when done" is ticked. With an auto-save folder set nothing asks:
// the PDF goes into that folder under a name made from the file-name
// template, never over a file that is there, and a balloon says where.
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
// The flow is modal: while it waits for the user or for the PDF, the
// message loop keeps running, so polls, the menu and the animation go on.
// The wait for the PDF is bounded: a job that shows no progress for the
// give-up time (its record in the queue unchanged, and LastResult not
// growing while the port converts this job) ends its flow with "not
// created", so no flow keeps the next job's dialog from opening for longer;
// a job still progressing after kAskAfterMs asks whether to go on waiting,
// and No deletes it from the queue. An exception that leaves a flow ends
// that flow with a message, and the next flow runs.
// A job seen while a flow is open waits for it to end; flows run one after
// the other in the order their jobs were first seen.
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

#include "monitor/job_poll.h"
#include "monitor/job_table.h"
#include "monitor/last_result_watch.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "platform/platform.h"

namespace plumeta {

class JobWatcher {
 public:
  // How long a flow waits for a job that shows no progress before it gives
  // up, unless the environment variable kGiveUpVariable gives seconds.
  static constexpr std::uint64_t kGiveUpMs = 120'000;
  static constexpr char kGiveUpVariable[] = "PLUMETA_GIVE_UP_SECONDS";
  // How long a flow waits for a job that keeps progressing before it asks
  // whether to go on waiting, and again after each Yes.
  static constexpr std::uint64_t kAskAfterMs = 600'000;
  // The pace of that wait.
  static constexpr std::uint32_t kWaitStepMs = 100;

  JobWatcher(platform::Platform& platform, MonitorView& view,
             TSaveDialog& save_dialog);
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
  // Where the poll sets the PDF of the job aside: beside LastResult.
  std::string AsidePath(std::uint32_t job_id);
  void FreeJobRow(int index);
  // What FormDestroy does with the JobTable: FreeJobRow for every row, then
  // all rows go.
  void ReleaseJobTable();

  const JobTable& job_table() const { return table_; }
  bool flow_open() const { return flow_open_; }
  std::size_t queued_flows() const { return queued_.size(); }

 private:
  struct QueuedFlow {
    std::uint32_t job_id;
    std::string document;
    std::uint64_t first_seen;
    std::string user;
    // "Combine Jobs" was ticked when the job was first seen, as the argument
    // file it is converted with most likely was.
    bool collect = false;
  };
  // What became of a job's PDF.
  enum class Output {
    kAwaited,    // the job is still in the queue
    kSetAside,   // at AsidePath
    kNone,       // the job left without writing one
    kUnclear,    // cannot be told apart from another job's
    kElsewhere,  // went to another user's LastResult
    kFailed,     // Ghostscript failed; nothing is kept
  };
  // What a listing shows of a job's progress.
  struct JobMark {
    std::uint32_t status = 0;
    std::uint32_t size = 0;
    std::uint32_t pages_printed = 0;
    bool operator==(const JobMark&) const = default;
  };
  struct QueuedJob {
    std::uint64_t first_seen = 0;
    // The last listing showed the port converting it: of the jobs Printing,
    // it is the one that started last.
    bool converting = false;
    JobMark mark;
    // How often a listing showed a new mark.
    std::uint64_t marks = 0;
    Output output = Output::kAwaited;
    std::string failure{};  // for kFailed: why, from the log
  };
  enum class WaitEnd {
    kReady,
    kDamaged,
    kGaveUp,
    kCancelled,
    kElsewhere,
    kFailed,
    kQuit
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
  Output NoPdfHere();
  void RunFlow(const QueuedFlow& flow);
  // An exception ended the flow: the PDF stays as the last result where it
  // can, and the user learns why.
  void FlowFailed(const QueuedFlow& flow, const std::string& reason);
  // Put the PDF set aside for the flow where it goes: the path it went to,
  // or nullopt (with the error shown and the PDF kept) when it could not.
  std::optional<std::string> Deliver(const QueuedFlow& flow,
                                     const std::string& target);
  std::optional<std::string> AutoSave(const QueuedFlow& flow,
                                      const std::string& folder);
  void KeepAfterFailure(const QueuedFlow& flow, const std::string& target,
                        platform::ErrorCode code);
  WaitEnd WaitForPdf(const QueuedFlow& flow);
  // Asks whether to go on waiting for a job still progressing after
  // `waited_ms`; false for No.
  bool GoOnWaiting(const QueuedFlow& flow, std::uint64_t waited_ms);
  // Deletes the job from the queue; tells the user when that fails.
  void CancelJob(const QueuedFlow& flow);
  // "not created", with `reason` on a line of its own when there is one.
  void NotCreated(const QueuedFlow& flow, const std::string& reason = "");
  // The failure the log tells of, when the log was written since the last
  // look; accounts for it.
  std::optional<std::string> NewLogFailure();
  void WentElsewhere(const QueuedFlow& flow);
  void StopAnimation();
  std::uint64_t Now() { return platform_.application->TickCount(); }
  std::string LastResult() { return view_.LastResult(); }
  void ObserveLastResult();

  platform::Platform& platform_;
  MonitorView& view_;
  TSaveDialog& save_dialog_;
  JobTable table_;
  LastResultWatch last_result_;
  std::uint64_t give_up_ms_ = kGiveUpMs;
  LastResultWatch log_;  // Ghostscript's messages beside LastResult

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
  std::deque<QueuedFlow> queued_;
  bool flow_open_ = false;
};

}  // namespace plumeta

#endif  // MONITOR_JOB_WATCHER_H_
