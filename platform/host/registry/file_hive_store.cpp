#include "platform/host/registry/file_hive_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/text.h"
#include "platform/host/base/error_from_errno.h"
#include "platform/host/base/unique_fd.h"
#include "platform/host/registry/regedit4.h"

namespace plumeta::host {
namespace {

using platform::ErrorCode;
using platform::kSuccess;

// Holds the lock file's flock until it goes.
class HiveLock {
 public:
  ErrorCode Take(const std::string& path, bool exclusive) {
    fd_.Reset(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd_.valid()) return ErrorFromErrno(errno, path.c_str());
    while (::flock(fd_.get(), exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno != EINTR) return ErrorFromErrno(errno);
    }
    return kSuccess;
  }

 private:
  UniqueFd fd_;
};

ErrorCode ReadWholeFile(const std::string& path, std::string* text,
                        bool* exists) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    *exists = false;
    return errno == ENOENT ? kSuccess : ErrorFromErrno(errno, path.c_str());
  }
  *exists = true;
  char buffer[65536];
  while (true) {
    ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ErrorFromErrno(errno);
    if (got == 0) return kSuccess;
    text->append(buffer, static_cast<std::size_t>(got));
  }
}

ErrorCode WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return ErrorFromErrno(errno);
    done += static_cast<std::size_t>(put);
  }
  return kSuccess;
}

}  // namespace

FileHiveStore::FileHiveStore(std::string registry_folder, std::string user)
    : folder_(std::move(registry_folder)), user_(AsciiLower(user)) {}

std::string FileHiveStore::FileStem(platform::RootKey root) const {
  std::string stem = folder_ + "/" + std::string(RootKeyName(root));
  if (root == platform::RootKey::kCurrentUser && !user_.empty()) {
    stem += "." + user_;
  }
  return stem;
}

std::string FileHiveStore::HiveFile(platform::RootKey root) const {
  return FileStem(root) + ".reg";
}

std::string FileHiveStore::LockFile(platform::RootKey root) const {
  return FileStem(root) + ".lock";
}

ErrorCode FileHiveStore::Load(platform::RootKey root, Hive* hive) {
  std::string text;
  bool exists = false;
  std::string path = HiveFile(root);
  if (ErrorCode code = ReadWholeFile(path, &text, &exists); code != kSuccess) {
    return code;
  }
  if (!exists) return kSuccess;  // a hive nobody has written yet is empty
  std::string error;
  if (!ParseRegedit4(text, RootKeyName(root), hive, &error)) {
    std::fprintf(stderr, "plumeta box: %s %s\n", path.c_str(), error.c_str());
    return platform::kErrorRegistryCorrupt;
  }
  return kSuccess;
}

ErrorCode FileHiveStore::Write(platform::RootKey root, const Hive& hive) {
  std::string target = HiveFile(root);
  std::string temporary = target + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
  if (!fd.valid()) return ErrorFromErrno(errno, target.c_str());
  ErrorCode code = WriteAll(fd.get(), WriteRegedit4(hive, RootKeyName(root)));
  // No fsync: the rename already keeps other programs from ever seeing half
  // a hive, and a box is a test bed, where a write per registry change must
  // stay cheap (fsync made 400 writes take 4.3 s instead of 0.7 s).
  fd.Reset();
  if (code == kSuccess && ::rename(name.data(), target.c_str()) != 0) {
    code = ErrorFromErrno(errno, target.c_str());
  }
  if (code != kSuccess) ::unlink(name.data());
  return code;
}

ErrorCode FileHiveStore::Read(platform::RootKey root,
                              const std::function<void(const Hive&)>& read) {
  HiveLock lock;
  if (ErrorCode code = lock.Take(LockFile(root), false); code != kSuccess) {
    return code;
  }
  Hive hive;
  if (ErrorCode code = Load(root, &hive); code != kSuccess) return code;
  read(hive);
  return kSuccess;
}

ErrorCode FileHiveStore::Update(platform::RootKey root,
                                const std::function<bool(Hive&)>& change) {
  HiveLock lock;
  if (ErrorCode code = lock.Take(LockFile(root), true); code != kSuccess) {
    return code;
  }
  Hive hive;
  if (ErrorCode code = Load(root, &hive); code != kSuccess) return code;
  if (!change(hive)) return kSuccess;
  return Write(root, hive);
}

ErrorCode FileHiveStore::Save(platform::RootKey root, const Hive& hive) {
  HiveLock lock;
  if (ErrorCode code = lock.Take(LockFile(root), true); code != kSuccess) {
    return code;
  }
  return Write(root, hive);
}

}  // namespace plumeta::host
