// What the watcher knows about LastResult, the one output file every
// conversion writes: when it last saw it appear or change, and which job's
// output it is once that job has left the queue. With that a conversion
// flow can tell a file older than its job (to delete) from a file written
// after its job was first seen (to keep).
#ifndef MONITOR_LAST_RESULT_WATCH_H_
#define MONITOR_LAST_RESULT_WATCH_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

namespace plumeta {

class LastResultWatch {
 public:
  LastResultWatch(platform::Files& files, std::string path)
      : files_(files), path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  void set_path(std::string path) { path_ = std::move(path); }

  // Looks at the file at time `now`: one that appears, grows, shrinks or is
  // being written counts as changed then and belongs to no job yet. A file
  // that is already there at the first look counts as old.
  void Observe(std::uint64_t now);
  // The job that has just left the queue wrote the file as it stands.
  void JobLeft(std::uint32_t job_id);

  bool present() const { return present_; }
  // 0: unknown.
  std::uint32_t owner() const { return owner_; }
  // True when the file is there and changed at or after `time`.
  bool ChangedSince(std::uint64_t time) const {
    return present_ && last_change_ >= time;
  }
  // True when the file is there and is neither older than the job nor the
  // output of another job.
  bool BelongsTo(std::uint32_t job_id, std::uint64_t first_seen) const {
    return ChangedSince(first_seen) && (owner_ == 0 || owner_ == job_id);
  }

 private:
  platform::Files& files_;
  std::string path_;
  bool observed_ = false;
  bool present_ = false;
  bool in_use_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t last_change_ = 0;
  std::uint32_t owner_ = 0;
};

}  // namespace plumeta

#endif  // MONITOR_LAST_RESULT_WATCH_H_
