// Files by their Windows paths ("C:\WINDOWS\system32\plum.rsp"). Failures come
// back as Windows error codes.
#ifndef PLATFORM_FILES_H_
#define PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_codes.h"

namespace plumeta::platform {

// Who may open a file that WriteTextFile creates.
enum class FileProtection {
  kInherited,                   // the folder's defaults
  kAdministratorsAndSystemOnly  // full access for them, none for anybody else
};

// What the file system says of a file, read without opening it in a way
// that stands in anybody's way (no access rights asked, all sharing given).
struct FileFacts {
  // Which file: the volume's serial number and the file's index on it (a
  // device and an inode on the host). Two paths name the same file when
  // these agree, whatever their spelling.
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
  // The last write time in the file system's own units.
  std::uint64_t modified = 0;

  bool SameFileAs(const FileFacts& other) const {
    return volume == other.volume && index == other.index;
  }
  bool operator==(const FileFacts&) const = default;
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
  // Reads up to `length` bytes from `offset` on, fewer at the end of the
  // file, opened as ReadFile opens it; nullopt when it cannot be opened or
  // read.
  virtual std::optional<std::string> ReadPart(const std::string& path,
                                              std::uint64_t offset,
                                              std::size_t length) = 0;
  // True when the file exists but cannot be opened for exclusive read-write:
  // another program still holds it.
  virtual bool InUse(const std::string& path) = 0;
  virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;
  // nullopt for a folder or nothing.
  virtual std::optional<FileFacts> Facts(const std::string& path) = 0;
  virtual bool IsReadOnly(const std::string& path) = 0;
  virtual ErrorCode SetReadOnly(const std::string& path, bool read_only) = 0;
  // Puts `replacement` in the place of `target` in one step (MoveFileEx with
  // MOVEFILE_REPLACE_EXISTING); `target` need not exist.
  virtual ErrorCode Replace(const std::string& replacement,
                            const std::string& target) = 0;
  virtual ErrorCode CreateFolder(const std::string& path) = 0;
  // Moves `from` to `to` in one step only when nothing is at `to` (MoveFileA):
  // kErrorAlreadyExists (or kErrorFileExists) when something is, and then
  // both stay as they were. Both paths are on one volume.
  virtual ErrorCode MoveNew(const std::string& from, const std::string& to) = 0;
  // True for an existing folder.
  virtual bool IsFolder(const std::string& path) = 0;
  // The names of the files in `folder` (its folders left out), in no set
  // order; none when it cannot be read.
  virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_FILES_H_
