// Putting a copy of LastResult at the place the user chose. The file already
// there stays until the copy is complete, then the copy replaces it in one
// step; a failure leaves both files as they were and tells the user why.
#ifndef MONITOR_PDF_DELIVERY_H_
#define MONITOR_PDF_DELIVERY_H_

#include <string>

#include "platform/files.h"
#include "platform/system.h"
#include "platform/user_interface.h"

namespace plumeta {

// The same file when the paths match without regard to case.
bool SamePath(const std::string& a, const std::string& b);

// The copy that becomes `target` once complete, beside it.
std::string PartialCopyPath(const std::string& target);

// Copies `from` to `target`; true when `target` now holds the copy (or is
// `from` itself). On failure `failure` gets the text for the error box: both
// paths and the system's reason.
bool DeliverPdf(platform::Files& files, platform::System& system,
                const std::string& from, const std::string& target,
                std::string* failure);

// The error box for a failed delivery.
void ShowDeliveryFailure(platform::UserInterface& ui,
                         const std::string& failure);

}  // namespace plumeta

#endif  // MONITOR_PDF_DELIVERY_H_
