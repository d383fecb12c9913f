#include "monitor/pdf_delivery.h"

#include <cctype>

#include "monitor/file_name_template.h"
#include "monitor/file_names.h"

namespace plumeta {
namespace {

// How many partial names are tried before the copy goes straight on.
constexpr int kPartialAttempts = 100;
// How far from the end "startxref" may stand.
constexpr std::size_t kTrailerReach = 1024;
// How much of a file's end the check reads: the trailer's reach, its
// offset, "%%EOF" and any white space after.
constexpr std::size_t kTailRead = 4 * kTrailerReach;

bool IsPdfSpace(char c) {
  return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' ||
         c == '\0';
}

// Copies `from` to the first free partial name beside `target`, never onto a
// file that is there: the copy's result, with `*partial` the name it used;
// `*partial` empty when every name was taken or none fits.
platform::ErrorCode CopyToFreePartial(platform::Files& files,
                                      const std::string& from,
                                      const std::string& target,
                                      std::optional<std::string>* partial) {
  for (int attempt = 0; attempt < kPartialAttempts; ++attempt) {
    *partial = PartialCopyPath(target, attempt);
    if (!*partial) break;
    if (files.Exists(**partial)) continue;
    const platform::ErrorCode code =
        files.Copy(from, **partial, /*fail_if_exists=*/true);
    if (code != platform::kErrorFileExists) return code;
  }
  partial->reset();
  return platform::kErrorFileExists;
}

// `head` is where the file starts, `content` where it ends.
bool HasPdfHeadAndEnd(const std::string& head, const std::string& content) {
  if (head.compare(0, 5, "%PDF-") != 0) return false;
  std::size_t end = content.size();
  while (end > 0 && IsPdfSpace(content[end - 1])) --end;
  constexpr std::string_view kEof = "%%EOF";
  if (end < kEof.size() ||
      content.compare(end - kEof.size(), kEof.size(), kEof) != 0) {
    return false;
  }
  end -= kEof.size();
  const std::size_t from = end > kTrailerReach ? end - kTrailerReach : 0;
  const std::size_t at = content.rfind("startxref", end);
  if (at == std::string::npos || at < from) return false;
  std::size_t i = at + 9;
  const std::size_t spaces = i;
  while (i < end && IsPdfSpace(content[i])) ++i;
  const std::size_t digits = i;
  while (i < end && std::isdigit(static_cast<unsigned char>(content[i]))) ++i;
  if (i == digits || digits == spaces) return false;
  while (i < end && IsPdfSpace(content[i])) ++i;
  return i == end;
}

}  // namespace

bool SameFile(platform::Files& files, const std::string& a,
              const std::string& b) {
  const std::optional<platform::FileFacts> first = files.Facts(a);
  const std::optional<platform::FileFacts> second = files.Facts(b);
  return first && second && first->SameFileAs(*second);
}

std::optional<std::string> PartialCopyPath(const std::string& target,
                                           int attempt) {
  const std::size_t slash = target.find_last_of("\\/");
  const std::string folder =
      slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string path = folder + "~plm" + std::to_string(attempt) + ".tmp";
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

bool IsCompletePdf(const std::string& content) {
  return HasPdfHeadAndEnd(content, content);
}

bool IsCompletePdfFile(platform::Files& files, const std::string& path) {
  const std::optional<platform::FileFacts> facts = files.Facts(path);
  if (!facts) return false;
  const std::uint64_t from =
      facts->size > kTailRead ? facts->size - kTailRead : 0;
  const std::optional<std::string> head = files.ReadPart(path, 0, 5);
  const std::optional<std::string> tail = files.ReadPart(path, from, kTailRead);
  return head && tail && HasPdfHeadAndEnd(*head, *tail);
}

platform::ErrorCode DeliverPdf(platform::Files& files, const std::string& from,
                               const std::string& target) {
  if (SameFile(files, from, target)) return platform::kSuccess;
  std::optional<std::string> partial;
  platform::ErrorCode code = CopyToFreePartial(files, from, target, &partial);
  if (!partial) return files.Copy(from, target, /*fail_if_exists=*/false);
  if (code == platform::kSuccess) code = files.Replace(*partial, target);
  // Made by this copy, so it is no one else's file.
  if (code != platform::kSuccess && files.Exists(*partial)) {
    files.Delete(*partial);
  }
  return code;
}

platform::ErrorCode DeliverPdfAsNew(
    platform::Files& files, const std::string& from, const std::string& folder,
    const std::string& stem,
    const std::function<bool(const std::string&)>& reserved,
    std::string* delivered) {
  std::optional<std::string> partial;
  platform::ErrorCode code = CopyToFreePartial(
      files, from, NumberedPdfPath(folder, stem, 1), &partial);
  if (!partial) return code;
  for (int number = 1; code == platform::kSuccess && number <= kMaxNameNumber;
       ++number) {
    const std::string target = NumberedPdfPath(folder, stem, number);
    if (reserved && reserved(target)) continue;
    code = files.MoveNew(*partial, target);
    if (code == platform::kSuccess) {
      *delivered = target;
      return code;
    }
    if (code == platform::kErrorAlreadyExists ||
        code == platform::kErrorFileExists) {
      code = platform::kSuccess;  // the next number
    }
  }
  if (code == platform::kSuccess) code = platform::kErrorFileExists;
  // Made by this copy, so it is no one else's file.
  if (files.Exists(*partial)) files.Delete(*partial);
  return code;
}

}  // namespace plumeta
