#include "monitor/conversion_flow.h"

#include <cctype>

#include "common/application_error.h"
#include "common/os_edition.h"
#include "common/system_names.h"
#include "monitor/file_name_template.h"
#include "monitor/file_names.h"
#include "monitor/own_files.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {
namespace {

// The system's text for `code` without the line break it ends with.
std::string SystemReason(platform::System& system, platform::ErrorCode code) {
  std::string text = system.ErrorMessage(code);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.pop_back();
  return text;
}

}  // namespace

ConversionFlow::ConversionFlow(platform::Platform& platform,
                               FlowSettings& settings, FlowWindow& window,
                               TSaveDialog& save_dialog,
                               LastResultWatch& last_result)
    : platform_(platform),
      settings_(settings),
      window_(window),
      save_dialog_(save_dialog),
      last_result_(last_result) {
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

void ConversionFlow::Failed(const FlowJob& job, const JobProgress& progress,
                            const std::string& reason) {
  StopAnimation();
  window_.ConcealMainWindow();
  if (progress.output == PdfOutput::kSetAside) {
    last_result_.Restore(progress.aside, Now());
  }
  ShowErrorBox(
      *platform_.user_interface, kMonitorTitle,
      "The PDF for '" + job.document + "' was not created.\r\n" + reason);
}

void ConversionFlow::StopAnimation() {
  window_.SetCycleIcons(false);
  window_.SetIconIndex(0);
}

void ConversionFlow::Run(const FlowJob& job, const JobProgress& progress) {
  window_.SetCycleIcons(true);
  // An old last result goes; a PDF written since is some job's and stays.
  last_result_.DeleteLeftover(job.first_seen);
  const platform::Size screen = platform_.application->ScreenSize();
  window_.PlaceBalloon(screen.width - kBalloonFromRight,
                       screen.height - kBalloonFromBottom);
  // NT 4.0 and earlier have no balloons.
  const bool balloons = !IsOldNtName(settings_.OsName());
  if (balloons) window_.ShowBalloon();
  // A collected PDF goes nowhere yet: nothing to ask.
  std::optional<Destination> destination;
  if (!job.collect) destination = ChooseDestination(job, balloons);
  if (!job.collect && !destination) {
    // The PDF is the last result, for the menu's commands.
    if (progress.output == PdfOutput::kSetAside &&
        !last_result_.Restore(progress.aside, Now())) {
      platform_.files->Delete(progress.aside);  // a newer last result is there
    }
    StopAnimation();
    return;
  }

  switch (WaitForPdf(job, progress)) {
    case WaitEnd::kQuit:
      StopAnimation();
      return;
    case WaitEnd::kCancelled:
      StopAnimation();
      CancelJob(job);
      return;
    case WaitEnd::kDamaged:
      last_result_.Restore(progress.aside, Now());
      [[fallthrough]];
    case WaitEnd::kGaveUp:
      StopAnimation();
      NotCreated(job);
      return;
    case WaitEnd::kElsewhere:
      StopAnimation();
      WentElsewhere(job);
      return;
    case WaitEnd::kFailed:
      StopAnimation();
      NotCreated(job, progress.failure);
      return;
    case WaitEnd::kReady:
      break;
  }
  if (job.collect) {
    Collect(job, progress);
    return;
  }
  Finish(progress.aside, *destination, &job);
}

void ConversionFlow::Collect(const FlowJob& job, const JobProgress& progress) {
  std::string into;
  const platform::ErrorCode code =
      settings_.AddToCombinedPdf(progress.aside, job.document, job.user, &into);
  StopAnimation();
  if (code == platform::kSuccess) return;
  // The PDF stays, as the last result where it can.
  const std::string kept = last_result_.Restore(progress.aside, Now())
                               ? settings_.LastResult()
                               : progress.aside;
  ShowDeliveryFailure(kept, into, code);
}

std::optional<Destination> ConversionFlow::ChooseDestination(const FlowJob& job,
                                                             bool balloons) {
  const std::string folder = settings_.AutoSaveFolder();
  if (!folder.empty()) return Destination{"", folder, balloons};
  window_.RevealMainWindow();
  save_dialog_.set_file_name(ProposedFileName(job.document, *platform_.locale));
  if (!save_dialog_.Execute()) return std::nullopt;
  window_.ConcealMainWindow();
  return Destination{save_dialog_.file_name(), "", false};
}

std::optional<std::string> ConversionFlow::Finish(
    const std::string& pdf, const Destination& destination,
    const FlowJob* job) {
  platform::Files& files = *platform_.files;
  std::string target = destination.target;
  std::string delivered = target;
  bool pdf_is_target = false;
  platform::ErrorCode code = platform::kSuccess;
  if (destination.folder.empty()) {
    pdf_is_target = SameFile(files, pdf, target);
    code = DeliverPdf(files, pdf, target);
  } else {
    const std::string stem = destination.stem.empty()
                                 ? AutoSaveStem(*job, destination.folder)
                                 : destination.stem;
    target = NumberedPdfPath(destination.folder, stem, 1);
    // LastResult and the names PDFs are set aside under, when the folder is
    // the temporary one.
    const OwnFiles own{settings_.LastResult(), {}};
    code = DeliverPdfAsNew(
        files, pdf, destination.folder, stem,
        [&](const std::string& path) { return IsOwnFile(files, own, path); },
        &delivered);
  }
  if (code != platform::kSuccess) {
    // The PDF stays, as the last result where it can.
    std::string kept = pdf;
    if (job != nullptr) {
      if (last_result_.Restore(pdf, Now())) kept = settings_.LastResult();
      StopAnimation();
    }
    ShowDeliveryFailure(kept, target, code);
    return std::nullopt;
  }
  if (job != nullptr && !pdf_is_target) files.Delete(pdf);
  if (destination.notice) {
    window_.ShowNotice({"The PDF was saved as", delivered});
  }
  if (settings_.ShowPdfWhenDone()) {
    platform_.shell->Execute({/*owned_by_main_window=*/true, "open", delivered,
                              "", "", platform::kShow});
  }
  if (job != nullptr) StopAnimation();
  return delivered;
}

std::string ConversionFlow::AutoSaveStem(const FlowJob& job,
                                         const std::string& folder) {
  platform::Locale& locale = *platform_.locale;
  TemplateFacts facts;
  facts.title = job.document;
  facts.user = job.user.empty()
                   ? platform_.system->Environment("USERNAME").value_or("")
                   : job.user;
  facts.time = locale.LocalTime();
  facts.job_id = job.job_id;
  facts.printer = kPrinterName;
  return FitFileNameStem(
      ExpandFileNameTemplate(settings_.FileNameTemplate(), facts, locale),
      folder, locale);
}

void ConversionFlow::ShowDeliveryFailure(const std::string& from,
                                         const std::string& target,
                                         platform::ErrorCode code) {
  std::string reason = SystemReason(*platform_.system, code);
  if (reason.empty()) reason = "System error " + std::to_string(code) + ".";
  ShowErrorBox(*platform_.user_interface, kMonitorTitle,
               "The PDF could not be copied from '" + from + "' to '" + target +
                   "'.\r\n" + reason);
}

void ConversionFlow::NotCreated(const FlowJob& job, const std::string& reason) {
  std::string text = "The PDF for '" + job.document + "' was not created.";
  if (!reason.empty()) text += "\r\n" + reason;
  platform_.user_interface->MessageBox(text, kMonitorTitle,
                                       platform::MessageButtons::kOk,
                                       platform::MessageIcon::kError,
                                       /*owned_by_main_window=*/true);
}

void ConversionFlow::WentElsewhere(const FlowJob& job) {
  platform_.user_interface->MessageBox(
      "The PDF for '" + job.document +
          "' went to another user's folder: Plumeta serves one user at a "
          "time, the one in front of the computer.",
      kMonitorTitle, platform::MessageButtons::kOk,
      platform::MessageIcon::kError, /*owned_by_main_window=*/true);
}

// Progress is a new mark of the job in the queue, or LastResult growing
// while the port converts the job. Its size and time are read from the
// open file: NTFS brings a folder entry up to date only when the writer
// closes the file.
ConversionFlow::WaitEnd ConversionFlow::WaitForPdf(
    const FlowJob& job, const JobProgress& progress) {
  const std::uint64_t started = Now();
  std::uint64_t progressed = started;
  std::uint64_t ask_at = started + kAskAfterMs;
  std::uint64_t marks = progress.marks;
  std::optional<platform::FileFacts> output;
  for (;;) {
    if (platform_.application->Terminated()) return WaitEnd::kQuit;
    switch (progress.output) {
      case PdfOutput::kSetAside:
        return IsCompletePdfFile(*platform_.files, progress.aside)
                   ? WaitEnd::kReady
                   : WaitEnd::kDamaged;
      case PdfOutput::kNone:
      case PdfOutput::kUnclear:
        return WaitEnd::kGaveUp;
      case PdfOutput::kElsewhere:
        return WaitEnd::kElsewhere;
      case PdfOutput::kFailed:
        return WaitEnd::kFailed;
      case PdfOutput::kAwaited:
        break;
    }
    const std::uint64_t now = Now();
    bool progress_seen = progress.marks != marks;
    marks = progress.marks;
    if (progress.converting) {
      std::optional<platform::FileFacts> facts =
          platform_.files->Facts(settings_.LastResult());
      if (facts && (!output || facts->size != output->size ||
                    facts->modified != output->modified)) {
        progress_seen = true;
      }
      output = std::move(facts);
    }
    if (progress_seen) {
      progressed = now;
    } else if (now - progressed >= give_up_ms_) {
      return WaitEnd::kGaveUp;
    }
    if (now >= ask_at) {
      if (!GoOnWaiting(job, now - started) &&
          progress.output == PdfOutput::kAwaited) {
        return WaitEnd::kCancelled;
      }
      progressed = Now();
      ask_at = progressed + kAskAfterMs;
    }
    platform_.application->WaitForMessages(kWaitStepMs);
  }
}

bool ConversionFlow::GoOnWaiting(const FlowJob& job, std::uint64_t waited_ms) {
  return platform_.user_interface->MessageBox(
             "The PDF for '" + job.document +
                 "' is still being created after " +
                 std::to_string(waited_ms / 60'000) +
                 " minutes.\r\nDo you want to go on waiting for it? If you "
                 "answer No, the print job is cancelled.",
             kMonitorTitle, platform::MessageButtons::kYesNo,
             platform::MessageIcon::kQuestion,
             /*owned_by_main_window=*/true) != platform::MessageResult::kNo;
}

void ConversionFlow::CancelJob(const FlowJob& job) {
  std::unique_ptr<platform::Printer> printer;
  platform::ErrorCode code = platform_.spooler->Open(
      kPrinterName, platform::kPrinterAccessUse, &printer);
  if (code == platform::kSuccess) {
    code = printer->ControlJob(job.job_id, platform::kJobControlDelete);
    // Windows 9x knows only JOB_CONTROL_CANCEL.
    if (code == platform::kErrorInvalidParameter) {
      code = printer->ControlJob(job.job_id, platform::kJobControlCancel);
    }
  }
  if (code == platform::kSuccess) return;
  ShowErrorBox(*platform_.user_interface, kMonitorTitle,
               "The print job '" + job.document +
                   "' could not be cancelled.\r\n" +
                   SystemReason(*platform_.system, code));
}

}  // namespace plumeta
