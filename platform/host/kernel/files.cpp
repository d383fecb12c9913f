#include "platform/host/kernel/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/host/base/error_from_errno.h"
#include "platform/host/base/unique_fd.h"

namespace plumeta::host {
namespace {

using platform::ErrorCode;
using platform::kErrorAccessDenied;
using platform::kErrorSharingViolation;
using platform::kSuccess;

bool IsReadOnlyMode(mode_t mode) { return (mode & 0222) == 0; }

// Opens `path` and takes `lock` (LOCK_SH or LOCK_EX) without waiting;
// kErrorSharingViolation when another open file holds a lock against it.
ErrorCode OpenLocked(const std::string& path, int flags, mode_t mode, int lock,
                     UniqueFd* fd) {
  fd->Reset(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode));
  if (!fd->valid()) return ErrorFromErrno(errno, path.c_str());
  while (::flock(fd->get(), lock | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? kErrorSharingViolation
                                : ErrorFromErrno(errno);
  }
  return kSuccess;
}

ErrorCode WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return ErrorFromErrno(errno);
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return kSuccess;
}

ErrorCode CopyContent(int from, int to) {
  char buffer[65536];
  while (true) {
    ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ErrorFromErrno(errno);
    if (got == 0) return kSuccess;
    if (ErrorCode code = WriteAll(to, buffer, static_cast<std::size_t>(got));
        code != kSuccess) {
      return code;
    }
  }
}

// The checks Windows makes before it opens an existing file to write it:
// not a folder, not read-only. Success also when the file does not exist.
ErrorCode CheckWritable(const std::string& path, struct stat* info,
                        bool* exists) {
  *exists = ::stat(path.c_str(), info) == 0;
  if (!*exists) {
    return errno == ENOENT ? kSuccess : ErrorFromErrno(errno, path.c_str());
  }
  if (S_ISDIR(info->st_mode) || IsReadOnlyMode(info->st_mode)) {
    return kErrorAccessDenied;
  }
  return kSuccess;
}

}  // namespace

HostFiles::HostFiles(std::shared_ptr<BoxProcess> process)
    : process_(std::move(process)) {}

bool HostFiles::Exists(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  struct stat info;
  // A folder is not a file, as on Windows.
  return linux_path && ::stat(linux_path->c_str(), &info) == 0 &&
         !S_ISDIR(info.st_mode);
}

ErrorCode HostFiles::Delete(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return platform::kErrorInvalidName;
  struct stat info;
  if (::lstat(linux_path->c_str(), &info) != 0) {
    return ErrorFromErrno(errno, linux_path->c_str());
  }
  if (S_ISDIR(info.st_mode) || IsReadOnlyMode(info.st_mode)) {
    return kErrorAccessDenied;
  }
  UniqueFd fd;
  if (ErrorCode code = OpenLocked(*linux_path, O_RDONLY, 0, LOCK_EX, &fd);
      code != kSuccess) {
    return code;
  }
  if (::unlink(linux_path->c_str()) != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

ErrorCode HostFiles::Copy(const std::string& from, const std::string& to,
                          bool fail_if_exists) {
  std::optional<std::string> source = process_->LinuxPath(from);
  std::optional<std::string> target = process_->LinuxPath(to);
  if (!source || !target) return platform::kErrorInvalidName;

  UniqueFd in;
  if (ErrorCode code = OpenLocked(*source, O_RDONLY, 0, LOCK_SH, &in);
      code != kSuccess) {
    return code;
  }
  struct stat source_info;
  if (::fstat(in.get(), &source_info) != 0) return ErrorFromErrno(errno);
  if (S_ISDIR(source_info.st_mode)) return kErrorAccessDenied;

  struct stat target_info;
  bool exists = false;
  ErrorCode writable = CheckWritable(*target, &target_info, &exists);
  if (exists && fail_if_exists) return platform::kErrorFileExists;
  if (writable != kSuccess) return writable;
  if (exists && target_info.st_dev == source_info.st_dev &&
      target_info.st_ino == source_info.st_ino) {
    return kErrorSharingViolation;  // the source is open: as on Windows
  }

  UniqueFd out;
  int flags = O_WRONLY | O_CREAT | (fail_if_exists ? O_EXCL : 0);
  if (ErrorCode code = OpenLocked(*target, flags, 0666, LOCK_EX, &out);
      code != kSuccess) {
    return code == platform::kErrorAlreadyExists ? platform::kErrorFileExists
                                                 : code;
  }
  ErrorCode code = ::ftruncate(out.get(), 0) == 0
                       ? CopyContent(in.get(), out.get())
                       : ErrorFromErrno(errno);
  // CopyFileA carries the attributes over, the read-only one among them.
  if (code == kSuccess &&
      ::fchmod(out.get(), source_info.st_mode & 07777) != 0) {
    code = ErrorFromErrno(errno);
  }
  if (code == kSuccess && out.Close() != 0) code = ErrorFromErrno(errno);
  if (code != kSuccess) ::unlink(target->c_str());  // as CopyFileA cleans up
  return code;
}

ErrorCode HostFiles::WriteTextFile(const std::string& path,
                                   const std::string& content,
                                   platform::FileProtection protection) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return platform::kErrorInvalidName;
  struct stat info;
  bool exists = false;
  if (ErrorCode code = CheckWritable(*linux_path, &info, &exists);
      code != kSuccess) {
    return code;
  }
  const bool protect =
      protection == platform::FileProtection::kAdministratorsAndSystemOnly;
  UniqueFd fd;
  if (ErrorCode code = OpenLocked(*linux_path, O_WRONLY | O_CREAT,
                                  protect ? 0600 : 0666, LOCK_EX, &fd);
      code != kSuccess) {
    return code;
  }
  if (::ftruncate(fd.get(), 0) != 0) return ErrorFromErrno(errno);
  if (protect && ::fchmod(fd.get(), 0600) != 0) return ErrorFromErrno(errno);
  if (ErrorCode code = WriteAll(fd.get(), content.data(), content.size());
      code != kSuccess) {
    return code;
  }
  if (fd.Close() != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

std::optional<std::string> HostFiles::ReadFile(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return std::nullopt;
  UniqueFd fd;
  if (OpenLocked(*linux_path, O_RDONLY, 0, LOCK_SH, &fd) != kSuccess) {
    return std::nullopt;
  }
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  while (true) {
    ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return content;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> HostFiles::ReadPart(const std::string& path,
                                               std::uint64_t offset,
                                               std::size_t length) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return std::nullopt;
  UniqueFd fd;
  if (OpenLocked(*linux_path, O_RDONLY, 0, LOCK_SH, &fd) != kSuccess) {
    return std::nullopt;
  }
  std::string part;
  char buffer[65536];
  while (part.size() < length) {
    const std::size_t wanted = std::min(sizeof buffer, length - part.size());
    ssize_t got = ::pread(fd.get(), buffer, wanted,
                          static_cast<off_t>(offset + part.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    part.append(buffer, static_cast<std::size_t>(got));
  }
  return part;
}

bool HostFiles::InUse(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return false;
  struct stat info;
  if (::stat(linux_path->c_str(), &info) != 0) return false;
  UniqueFd fd;
  return OpenLocked(*linux_path, O_RDONLY, 0, LOCK_EX, &fd) != kSuccess;
}

std::optional<std::uint64_t> HostFiles::Size(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  struct stat info;
  if (!linux_path || ::stat(linux_path->c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<platform::FileFacts> HostFiles::Facts(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  struct stat info;
  if (!linux_path || ::stat(linux_path->c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return platform::FileFacts{
      static_cast<std::uint64_t>(info.st_dev),
      static_cast<std::uint64_t>(info.st_ino),
      static_cast<std::uint64_t>(info.st_size),
      static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1'000'000'000u +
          static_cast<std::uint64_t>(info.st_mtim.tv_nsec)};
}

bool HostFiles::IsReadOnly(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  struct stat info;
  return linux_path && ::stat(linux_path->c_str(), &info) == 0 &&
         IsReadOnlyMode(info.st_mode);
}

ErrorCode HostFiles::SetReadOnly(const std::string& path, bool read_only) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return platform::kErrorInvalidName;
  struct stat info;
  if (::stat(linux_path->c_str(), &info) != 0) {
    return ErrorFromErrno(errno, linux_path->c_str());
  }
  mode_t mode = info.st_mode & 07777;
  mode = read_only ? (mode & ~0222) : (mode | S_IWUSR);
  if (::chmod(linux_path->c_str(), mode) != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

ErrorCode HostFiles::Replace(const std::string& replacement,
                             const std::string& target) {
  std::optional<std::string> source = process_->LinuxPath(replacement);
  std::optional<std::string> destination = process_->LinuxPath(target);
  if (!source || !destination) return platform::kErrorInvalidName;

  UniqueFd moving;
  if (ErrorCode code = OpenLocked(*source, O_RDONLY, 0, LOCK_EX, &moving);
      code != kSuccess) {
    return code;
  }
  struct stat source_info;
  if (::fstat(moving.get(), &source_info) != 0) return ErrorFromErrno(errno);
  if (S_ISDIR(source_info.st_mode)) return kErrorAccessDenied;

  struct stat target_info;
  bool exists = false;
  if (ErrorCode code = CheckWritable(*destination, &target_info, &exists);
      code != kSuccess) {
    return code;
  }
  UniqueFd replaced;
  if (exists && (target_info.st_dev != source_info.st_dev ||
                 target_info.st_ino != source_info.st_ino)) {
    if (ErrorCode code =
            OpenLocked(*destination, O_RDONLY, 0, LOCK_EX, &replaced);
        code != kSuccess) {
      return code;
    }
  }
  if (::rename(source->c_str(), destination->c_str()) != 0) {
    return ErrorFromErrno(errno, destination->c_str());
  }
  return kSuccess;
}

ErrorCode HostFiles::CreateFolder(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  if (!linux_path) return platform::kErrorInvalidName;
  if (::mkdir(linux_path->c_str(), 0777) != 0) {
    return ErrorFromErrno(errno, linux_path->c_str());
  }
  return kSuccess;
}

ErrorCode HostFiles::MoveNew(const std::string& from, const std::string& to) {
  std::optional<std::string> source = process_->LinuxPath(from);
  std::optional<std::string> destination = process_->LinuxPath(to);
  if (!source || !destination) return platform::kErrorInvalidName;
  if (::link(source->c_str(), destination->c_str()) != 0) {
    return errno == EEXIST ? platform::kErrorAlreadyExists
                           : ErrorFromErrno(errno, destination->c_str());
  }
  ::unlink(source->c_str());
  return kSuccess;
}

bool HostFiles::IsFolder(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  struct stat info;
  return linux_path && ::stat(linux_path->c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode);
}

std::vector<std::string> HostFiles::FileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::optional<std::string> linux_path = process_->LinuxPath(folder);
  if (!linux_path) return names;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(*linux_path, error)) {
    if (entry.is_regular_file(error)) {
      names.push_back(entry.path().filename().string());
    }
  }
  return names;
}

}  // namespace plumeta::host
