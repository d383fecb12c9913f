// What happens when a job of this user is first seen, up to its PDF in the
// user's hands: animate the tray icon, show the balloon and the main window,
// ask where the PDF goes (or take the auto-save folder), wait for the job's
// PDF, check that it is whole, and finish: copy it there, delete the one set
// aside, open the copy when "Show PDF when done" is ticked. With an
// auto-save folder set nothing asks: the PDF goes into that folder under a
// name made from the file-name template, never over a file that is there,
// and a balloon says where. A PDF that cannot be delivered stays as the last
// result, and the user learns why.
//
// The watcher (monitor/job_watcher.h) decides which PDF is whose: its polls
// set each job's PDF aside and note the outcome in the job's JobProgress,
// which the flow reads while it waits. The flow never delivers a PDF the
// watcher did not give its job.
//
// The flow is modal: while it waits for the user or for the PDF, the
// message loop keeps running, so polls, the menu and the animation go on.
// The wait for the PDF is bounded: a job that shows no progress for the
// give-up time (its record in the queue unchanged, and LastResult not
// growing while the port converts this job) ends its flow with "not
// created", so no flow keeps the next job's dialog from opening for longer;
// a job still progressing after kAskAfterMs asks whether to go on waiting,
// and No deletes it from the queue.
#ifndef MONITOR_CONVERSION_FLOW_H_
#define MONITOR_CONVERSION_FLOW_H_

#include <cstdint>
#include <optional>
#include <string>

#include "monitor/last_result_watch.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "platform/platform.h"

namespace plumeta {

// The job a flow is for, as first seen in the queue.
struct FlowJob {
  std::uint32_t job_id;
  std::string document;
  std::uint64_t first_seen;
  std::string user;
  // "Combine Jobs" was ticked when the job was first seen, as the argument
  // file it is converted with most likely was: its PDF is collected.
  bool collect = false;
};

// What became of a job's PDF.
enum class PdfOutput {
  kAwaited,    // the job is still in the queue
  kSetAside,   // at JobProgress::aside
  kNone,       // the job left without writing one
  kUnclear,    // cannot be told apart from another job's
  kElsewhere,  // went to another user's LastResult
  kFailed,     // Ghostscript failed; nothing is kept
};

// What the watcher's polls learn of a job while its flow is queued or open.
struct JobProgress {
  // The last listing showed the port converting it: of the jobs Printing,
  // it is the one that started last.
  bool converting = false;
  // How often a listing showed a new mark (status, size, pages).
  std::uint64_t marks = 0;
  PdfOutput output = PdfOutput::kAwaited;
  std::string aside{};    // for kSetAside: where the PDF was set aside
  std::string failure{};  // for kFailed: why, from the log
};

// Where a whole PDF goes: the path chosen in the save dialog, or a new name
// in the auto-save folder.
struct Destination {
  std::string target;
  std::string folder{};  // set for auto-save, with `target` empty
  bool notice = false;   // a balloon says where an auto-saved PDF went
  // For a folder: the name's stem; empty makes it from the job's facts.
  std::string stem{};
};

class ConversionFlow {
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

  // `last_result` is the watcher's, which sets the PDFs aside.
  ConversionFlow(platform::Platform& platform, FlowSettings& settings,
                 FlowWindow& window, TSaveDialog& save_dialog,
                 LastResultWatch& last_result);
  ConversionFlow(const ConversionFlow&) = delete;
  ConversionFlow& operator=(const ConversionFlow&) = delete;

  // The flow of `job` from its start to its end; the polls that run while
  // it waits keep `progress`.
  void Run(const FlowJob& job, const JobProgress& progress);
  // An exception ended the flow: the PDF stays as the last result where it
  // can, and the user learns why.
  void Failed(const FlowJob& job, const JobProgress& progress,
              const std::string& reason);

  // The finishing step every PDF the user gets goes through, from a job's
  // flow and from "Save Last Result As": the whole PDF at `pdf` goes to
  // `destination`; then the notice, and the copy opened when "Show PDF when
  // done" is ticked. When it cannot go, the PDF stays and the error box
  // tells why. `job` is the flow whose set-aside PDF `pdf` is: that one is
  // deleted once delivered, goes back to LastResult where it can when not,
  // and the flow's animation ends here. For LastResult itself, `job` is
  // null and the file stays. A folder needs `job` or a stem: the name is
  // made from the job's facts. Returns where the PDF went; nullopt when it
  // could not go.
  std::optional<std::string> Finish(const std::string& pdf,
                                    const Destination& destination,
                                    const FlowJob* job);
  // The stem of an auto-saved name: the template expanded with the job's
  // facts, fitted to `folder`.
  std::string AutoSaveStem(const FlowJob& job, const std::string& folder);

 private:
  enum class WaitEnd {
    kReady,
    kDamaged,
    kGaveUp,
    kCancelled,
    kElsewhere,
    kFailed,
    kQuit
  };

  // The save dialog, or the auto-save folder; nullopt when the dialog was
  // cancelled.
  std::optional<Destination> ChooseDestination(const FlowJob& job,
                                               bool balloons);
  WaitEnd WaitForPdf(const FlowJob& job, const JobProgress& progress);
  // The job's whole PDF goes into the collection for a combined PDF; when
  // it cannot, it stays as the last result and the user learns why.
  void Collect(const FlowJob& job, const JobProgress& progress);
  // Asks whether to go on waiting for a job still progressing after
  // `waited_ms`; false for No.
  bool GoOnWaiting(const FlowJob& job, std::uint64_t waited_ms);
  // Deletes the job from the queue; tells the user when that fails.
  void CancelJob(const FlowJob& job);
  // "not created", with `reason` on a line of its own when there is one.
  void NotCreated(const FlowJob& job, const std::string& reason = "");
  void WentElsewhere(const FlowJob& job);
  // The error box for a failed delivery of the PDF kept at `from`: both
  // paths and the system's reason.
  void ShowDeliveryFailure(const std::string& from, const std::string& target,
                           platform::ErrorCode code);
  void StopAnimation();
  std::uint64_t Now() { return platform_.application->TickCount(); }

  platform::Platform& platform_;
  FlowSettings& settings_;
  FlowWindow& window_;
  TSaveDialog& save_dialog_;
  LastResultWatch& last_result_;
  std::uint64_t give_up_ms_ = kGiveUpMs;
};

}  // namespace plumeta

#endif  // MONITOR_CONVERSION_FLOW_H_
