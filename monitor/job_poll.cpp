#include "monitor/job_poll.h"

#include <memory>

namespace plumeta {
namespace {

constexpr std::uint32_t kAllJobs = 0xFFFFFFFF;

bool NtFamily(platform::System& system) {
  const auto version = system.Version();
  return version && version->platform == platform::PlatformId::kNt;
}

}  // namespace

QueueAnswer ListQueue(platform::Spooler& spooler, const std::string& printer,
                      std::vector<platform::PrintJob>* jobs) {
  jobs->clear();
  std::unique_ptr<platform::Printer> opened;
  if (spooler.Open(printer, platform::kPrinterAccessUse, &opened) !=
      platform::kSuccess) {
    return QueueAnswer::kNoPrinter;
  }
  const platform::ErrorCode listed = opened->ListJobs(0, kAllJobs, jobs);
  opened.reset();
  if (listed != platform::kSuccess) {
    jobs->clear();
    return QueueAnswer::kFailed;
  }
  return QueueAnswer::kJobs;
}

bool ForEachJob(platform::Spooler& spooler, const std::string& printer,
                const std::function<void(const platform::PrintJob&)>& handler) {
  std::vector<platform::PrintJob> jobs;
  if (ListQueue(spooler, printer, &jobs) != QueueAnswer::kJobs ||
      jobs.empty()) {
    return false;
  }
  for (const platform::PrintJob& job : jobs) handler(job);
  return true;
}

bool EnumPrinterNames(platform::Spooler& spooler, platform::System& system,
                      platform::UserInterface& ui,
                      std::vector<std::string>& names) {
  const bool nt = NtFamily(system);
  const std::uint32_t flags =
      nt ? platform::kPrinterEnumLocal | platform::kPrinterEnumConnections
         : platform::kPrinterEnumLocal;
  const std::uint32_t level = nt ? 4 : 5;
  // Nothing to list, or a spooler that does not answer: no message.
  std::uint32_t needed = 0;
  if (spooler.PrintersSize(flags, level, &needed) != platform::kSuccess ||
      needed == 0) {
    return false;
  }
  std::vector<platform::PrinterSummary> printers;
  if (spooler.ListPrinters(flags, level, &printers) != platform::kSuccess) {
    ui.MessageBox("Error Enum Printers!", "Error",
                  platform::MessageButtons::kOk, platform::MessageIcon::kError,
                  /*owned_by_main_window=*/true);
    return false;
  }
  if (printers.empty()) return false;
  for (const platform::PrinterSummary& printer : printers) {
    names.push_back(printer.printer_name);
  }
  return true;
}

}  // namespace plumeta
