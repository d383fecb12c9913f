// Files by their Windows paths ("C:\WINDOWS\system32\plum.rsp"). Failures come
// back as Windows error codes.
#ifndef PLATFORM_FILES_H_
#define PLATFORM_FILES_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/error_codes.h"

namespace plumeta::platform {

// Who may open a file that WriteTextFile creates.
enum class FileProtection {
  kInherited,                   // the folder's defaults
  kAdministratorsAndSystemOnly  // full access for them, none for anybody else
};

class Files {
 public:
  virtual ~Files() = default;
  // True for an existing file; a folder does not count.
  virtual bool Exists(const std::string& path) = 0;
  virtual ErrorCode Delete(const std::string& path) = 0;
  // CopyFileA: with `fail_if_exists` an existing target gives kErrorFileExists.
  virtual ErrorCode Copy(const std::string& from, const std::string& to,
                         bool fail_if_exists) = 0;
  // Creates (or truncates) the file, writes `content` as it stands and closes
  // it; the code of the first operation that failed.
  virtual ErrorCode WriteTextFile(const std::string& path,
                                  const std::string& content,
                                  FileProtection protection) = 0;
  // Reads a whole file; nullopt when it cannot be opened.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // True when the file exists but cannot be opened for exclusive read-write:
  // another program still holds it.
  virtual bool InUse(const std::string& path) = 0;
  virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;
  virtual bool IsReadOnly(const std::string& path) = 0;
  virtual ErrorCode SetReadOnly(const std::string& path, bool read_only) = 0;
  // Puts `replacement` in the place of `target` in one step (MoveFileEx with
  // MOVEFILE_REPLACE_EXISTING); `target` need not exist.
  virtual ErrorCode Replace(const std::string& replacement,
                            const std::string& target) = 0;
  virtual ErrorCode CreateFolder(const std::string& path) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_FILES_H_
