#include "monitor/last_result_watch.h"

#include "common/windows_paths.h"
#include "monitor/own_files.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {

void LastResultWatch::Observe() {
  current_ = files_.Facts(path_);
  if (!observed_) known_ = current_;
  observed_ = true;
}

void LastResultWatch::DeleteLeftover(std::uint64_t time) {
  Observe();
  if (!current_ || HasNewOutput() || accounted_at_ > time) return;
  if (files_.Delete(path_) == platform::kSuccess) current_ = known_ = {};
}

void LastResultWatch::DeleteNew(std::uint64_t now) {
  if (!HasNewOutput()) return;
  if (files_.Delete(path_) == platform::kSuccess) {
    current_ = known_ = {};
  } else {
    Account(now);
  }
}

bool LastResultWatch::SetAside(const std::string& aside) {
  if (files_.Replace(path_, aside) != platform::kSuccess) return false;
  current_ = known_ = {};
  return true;
}

bool LastResultWatch::Restore(const std::string& aside, std::uint64_t now) {
  const bool restored = !files_.Exists(path_) &&
                        files_.Replace(aside, path_) == platform::kSuccess;
  if (restored) {
    Observe();
    Account(now);
  }
  return restored;
}

bool ReturnOrphanedPdf(platform::Files& files, const std::string& last_result) {
  const std::string folder = FolderOf(last_result);
  if (folder.empty()) return false;
  std::optional<std::string> newest;
  std::uint64_t newest_time = 0;
  std::uint32_t newest_id = 0;
  // A drive's root keeps its backslash.
  const std::string listed =
      folder.size() == 3 ? folder : folder.substr(0, folder.size() - 1);
  for (const std::string& name : files.FileNames(listed)) {
    const std::optional<std::uint32_t> id = AsideJobId(last_result, name);
    if (!id) continue;
    const std::optional<platform::FileFacts> facts = files.Facts(folder + name);
    if (!facts) continue;
    if (!newest || facts->modified > newest_time ||
        (facts->modified == newest_time && *id > newest_id)) {
      newest = folder + name;
      newest_time = facts->modified;
      newest_id = *id;
    }
  }
  if (!newest) return false;
  if (const std::optional<platform::FileFacts> current =
          files.Facts(last_result);
      current && current->modified >= newest_time) {
    return false;
  }
  if (files.Replace(*newest, last_result) != platform::kSuccess) return false;
  const std::optional<std::string> content = files.ReadFile(last_result);
  return content && IsCompletePdf(*content);
}

}  // namespace plumeta
