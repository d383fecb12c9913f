#include "monitor/last_result_watch.h"

namespace plumeta {

void LastResultWatch::Observe(std::uint64_t now) {
  const bool first_look = !observed_;
  observed_ = true;
  if (!files_.Exists(path_)) {
    present_ = false;
    in_use_ = false;
    owner_ = 0;
    return;
  }
  const bool in_use = files_.InUse(path_);
  const std::uint64_t size = files_.Size(path_).value_or(0);
  const bool changed = !present_ || in_use || size != size_;
  present_ = true;
  in_use_ = in_use;
  size_ = size;
  if (first_look && !in_use) {
    last_change_ = 0;  // left over from before the monitor started
  } else if (changed) {
    last_change_ = now;
    owner_ = 0;
  }
}

void LastResultWatch::JobLeft(std::uint32_t job_id) {
  if (present_ && !in_use_ && owner_ == 0) owner_ = job_id;
}

}  // namespace plumeta
