// Putting a copy of a PDF at the place the user chose. The file already
// there stays until the copy is complete, then the copy replaces it in one
// step; a failure leaves both files as they were.
#ifndef MONITOR_PDF_DELIVERY_H_
#define MONITOR_PDF_DELIVERY_H_

#include <functional>
#include <optional>
#include <string>

#include "platform/error_codes.h"
#include "platform/files.h"

namespace plumeta {

// True when both paths name one existing file, however they are spelled.
bool SameFile(platform::Files& files, const std::string& a,
              const std::string& b);

// The `attempt`th name in the target's folder for the copy that becomes the
// target once complete; short, so that it fits wherever the target does
// unless the target's own name is shorter still. nullopt when it does not
// fit.
std::optional<std::string> PartialCopyPath(const std::string& target,
                                           int attempt);

// A whole PDF: the header at the start, and at the end "startxref", the
// offset and "%%EOF". A file cut short by a killed Ghostscript or a full
// disk has no such end.
bool IsCompletePdf(const std::string& content);
// The same of a file, from its head and its last kilobytes only, so a PDF of
// any size is checked in little memory.
bool IsCompletePdfFile(platform::Files& files, const std::string& path);

// Copies `from` to `target` through a free partial name beside it (never a
// file that is already there); straight onto the target when no partial
// name fits. kSuccess also when `target` is `from` itself.
platform::ErrorCode DeliverPdf(platform::Files& files, const std::string& from,
                               const std::string& target);

// Copies `from` into `folder` as the first of NumberedPdfPath(folder, stem,
// 1), (2) ... (kMaxNameNumber) that is free and not `reserved`, and never
// over a file: the copy is made under a partial name, then moved to a name
// only where nothing is, in one step, so two deliveries at once never take
// the same name. The path taken goes to `delivered`. kErrorFileExists when
// every name is taken.
platform::ErrorCode DeliverPdfAsNew(
    platform::Files& files, const std::string& from, const std::string& folder,
    const std::string& stem,
    const std::function<bool(const std::string&)>& reserved,
    std::string* delivered);

}  // namespace plumeta

#endif  // MONITOR_PDF_DELIVERY_H_
