// platform/win32: Win32 calls only, in their ANSI ("A") forms. Files through
// kernel32, and advapi32 for the protected file's security.
#ifndef PLATFORM_WIN32_FILES_H_
#define PLATFORM_WIN32_FILES_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

namespace plumeta::win32 {

class Win32Files : public platform::Files {
 public:
  // True for a file, false for a folder or nothing.
  bool Exists(const std::string& path) override;
  platform::ErrorCode Delete(const std::string& path) override;
  platform::ErrorCode Copy(const std::string& from, const std::string& to,
                           bool fail_if_exists) override;
  // With kAdministratorsAndSystemOnly, where the system has security
  // descriptors, an existing file is deleted first and the new one created
  // with a protected DACL (an existing file would keep its own).
  platform::ErrorCode WriteTextFile(
      const std::string& path, const std::string& content,
      platform::FileProtection protection) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  // SetFilePointer, not SetFilePointerEx: Windows 95 and NT 4.0 lack that.
  std::optional<std::string> ReadPart(const std::string& path,
                                      std::uint64_t offset,
                                      std::size_t length) override;
  bool InUse(const std::string& path) override;
  // Read from the folder entry, so it works while another program holds the
  // file. nullopt for a folder, nothing, or a path with wildcards.
  std::optional<std::uint64_t> Size(const std::string& path) override;
  // GetFileInformationByHandle on a handle that asks for no access and
  // shares everything, so neither a writer nor a deleter is kept out.
  std::optional<platform::FileFacts> Facts(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  platform::ErrorCode SetReadOnly(const std::string& path,
                                  bool read_only) override;
  // MoveFileExA where the system implements it, ReplaceByDeleteAndMove
  // elsewhere.
  platform::ErrorCode Replace(const std::string& replacement,
                              const std::string& target) override;
  platform::ErrorCode CreateFolder(const std::string& path) override;
  platform::ErrorCode MoveNew(const std::string& from,
                              const std::string& to) override;
  bool IsFolder(const std::string& path) override;
  std::vector<std::string> FileNames(const std::string& folder) override;
};

// Replace for Windows 9x, which has no working MoveFileExA: deletes `target`,
// then moves `replacement` there. `target` is left alone when `replacement`
// does not exist.
platform::ErrorCode ReplaceByDeleteAndMove(const std::string& replacement,
                                           const std::string& target);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_FILES_H_
