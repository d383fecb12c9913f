#include "monitor/last_result_watch.h"

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

}  // namespace plumeta
