// The Windows shell as the programs use it: opening a document or program
// (ShellExecuteA) and the shell's own file operation (SHFileOperationA).
#ifndef PLATFORM_SHELL_H_
#define PLATFORM_SHELL_H_

#include <cstdint>
#include <string>
#include <vector>

namespace plumeta::platform {

// ShowWindow's SW_* numbers that the programs pass.
inline constexpr int kShowHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShow = 5;  // SW_SHOW: as it is, activated

struct ShellExecuteRequest {
  bool owned_by_main_window = false;  // else no owner window
  std::string operation;              // "open", "print"; empty: the default
  std::string file;
  std::string parameters;
  std::string directory;
  int show_mode = kShowNormal;
};

// SHFileOperationA's FO_* functions and the FOF_* flags the programs use.
enum class FileFunction : std::uint32_t {
  kMove = 1,
  kCopy = 2,
  kDelete = 3,
  kRename = 4
};
inline constexpr std::uint16_t kFofMultiDestFiles = 0x0001;
inline constexpr std::uint16_t kFofSilent = 0x0004;
inline constexpr std::uint16_t kFofNoConfirmation = 0x0010;
inline constexpr std::uint16_t kFofNoConfirmMkDir = 0x0200;
inline constexpr std::uint16_t kFofNoErrorUi = 0x0400;

struct FileOperation {
  FileFunction function = FileFunction::kCopy;
  std::vector<std::string> from;  // each becomes one NUL-ended entry
  std::string to;
  std::uint16_t flags = 0;
  std::string progress_title;  // shown only with FOF_SIMPLEPROGRESS
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA's result: above 32 on success, else the error it reports.
  virtual std::intptr_t Execute(const ShellExecuteRequest& request) = 0;
  // SHFileOperationA with no owner window: 0 on success, else the shell's
  // error number.
  virtual int RunFileOperation(const FileOperation& operation) = 0;
  // SetCurrentDirectoryA: the folder relative paths, and so relative
  // entries of a file operation, are taken from.
  virtual bool SetCurrentFolder(const std::string& path) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_SHELL_H_
