// What the watcher knows about LastResult, the one output file every
// conversion writes. It only reads the file's facts (identity, size,
// modification time), never opens it in anybody's way, and so tells a file
// written since it last accounted for one from the file it accounted for,
// even when both have the same size. A completed output is set aside at
// once under a name of its own job, with one rename in the same folder, so
// the next job's Ghostscript cannot overwrite it.
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

  // Reads the file's facts. What is there at the first look was left over
  // from before the monitor started and counts as accounted for.
  void Observe();
  // The file is there and is not the one last accounted for: a job has
  // written it since.
  bool HasNewOutput() const {
    return current_ && (!known_ || !(*current_ == *known_));
  }
  // The file as it stands stays where it is, as the last result, from
  // `now` on.
  void Account(std::uint64_t now) {
    known_ = current_;
    accounted_at_ = now;
  }
  // Deletes the file when it is the one accounted for before `time`: a
  // last result older than the job first seen then.
  void DeleteLeftover(std::uint64_t time);
  // Deletes the file written since the last one accounted for; what stays
  // (it could not be deleted) is accounted for from `now` on.
  void DeleteNew(std::uint64_t now);
  // Renames the file to `aside`; false when it cannot be moved (another
  // program holds it).
  bool SetAside(const std::string& aside);
  // Puts a set-aside file back as the last result; false when a newer one
  // is there already or the rename failed, and `aside` stays.
  bool Restore(const std::string& aside, std::uint64_t now);

 private:
  platform::Files& files_;
  std::string path_;
  bool observed_ = false;
  std::optional<platform::FileFacts> current_;
  std::optional<platform::FileFacts> known_;
  std::uint64_t accounted_at_ = 0;
};

// At start-up: the newest of the PDFs a former run set aside and never
// delivered (it was killed, or ended during a flow) goes back to LastResult,
// where "View Last Result" and "Save Last Result As" reach it, unless
// LastResult is as new; an older LastResult gives way. The others stay where
// they are. True when a whole PDF went back.
bool ReturnOrphanedPdf(platform::Files& files, const std::string& last_result);

}  // namespace plumeta

#endif  // MONITOR_LAST_RESULT_WATCH_H_
