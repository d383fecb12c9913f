// Host stand-in (Linux only). platform::Files over the box's drives, with
// WOW64's redirection where the box is a 64-bit Windows.
//
// Windows' sharing rules stand on flock: a program that holds a file as
// Windows programs hold a file they are writing (the Ghostscript stand-in
// holds its output file so) keeps an exclusive flock on it. Such a file is
// InUse, and deleting, replacing or writing it fails with
// kErrorSharingViolation, reading or copying it too. A file without any
// write permission bit is read-only, whoever the Linux user is.
#ifndef PLATFORM_HOST_KERNEL_FILES_H_
#define PLATFORM_HOST_KERNEL_FILES_H_

#include <memory>

#include "platform/files.h"
#include "platform/host/box/box_process.h"

namespace plumeta::host {

class HostFiles : public platform::Files {
 public:
  explicit HostFiles(std::shared_ptr<BoxProcess> process);

  bool Exists(const std::string& path) override;
  platform::ErrorCode Delete(const std::string& path) override;
  platform::ErrorCode Copy(const std::string& from, const std::string& to,
                           bool fail_if_exists) override;
  // kAdministratorsAndSystemOnly makes the file's mode 0600.
  platform::ErrorCode WriteTextFile(
      const std::string& path, const std::string& content,
      platform::FileProtection protection) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<std::string> ReadPart(const std::string& path,
                                      std::uint64_t offset,
                                      std::size_t length) override;
  bool InUse(const std::string& path) override;
  std::optional<std::uint64_t> Size(const std::string& path) override;
  // stat: device, inode, size, modification time in nanoseconds.
  std::optional<platform::FileFacts> Facts(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  platform::ErrorCode SetReadOnly(const std::string& path,
                                  bool read_only) override;
  platform::ErrorCode Replace(const std::string& replacement,
                              const std::string& target) override;
  platform::ErrorCode CreateFolder(const std::string& path) override;
  // A hard link at `to`, then `from` unlinked: the link fails when `to`
  // exists, so two movers never take one name.
  platform::ErrorCode MoveNew(const std::string& from,
                              const std::string& to) override;
  bool IsFolder(const std::string& path) override;
  std::vector<std::string> FileNames(const std::string& folder) override;

 private:
  std::shared_ptr<BoxProcess> process_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_FILES_H_
