// One look at a printer's queue, and the installed printers' names.
#ifndef MONITOR_JOB_POLL_H_
#define MONITOR_JOB_POLL_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/user_interface.h"

namespace plumeta {

enum class QueueAnswer {
  kJobs,       // the jobs were listed (possibly none)
  kNoPrinter,  // the printer cannot be opened
  kFailed,     // listing the jobs failed
};

// The printer's jobs in the spooler's order. The printer is closed before
// this returns, so nothing done with the jobs holds it open.
QueueAnswer ListQueue(platform::Spooler& spooler, const std::string& printer,
                      std::vector<platform::PrintJob>* jobs);

// Runs `handler` once for each job of the printer; true when it did, false
// when the printer cannot be opened, has no jobs, or listing them failed.
bool ForEachJob(platform::Spooler& spooler, const std::string& printer,
                const std::function<void(const platform::PrintJob&)>& handler);

// Appends the installed printers' names: local printers and connections at
// level 4 on the NT family, local printers at level 5 on 9x. False when
// there are none or the size of the list cannot be learnt; when listing
// them fails after that, also the message "Error Enum Printers!".
bool EnumPrinterNames(platform::Spooler& spooler, platform::System& system,
                      platform::UserInterface& ui,
                      std::vector<std::string>& names);

}  // namespace plumeta

#endif  // MONITOR_JOB_POLL_H_
