// The file-operation component: a batch of files handed to the shell's file
// operation in one call.
#ifndef SETUP_FILE_OPERATOR_H_
#define SETUP_FILE_OPERATOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace plumeta::setup {

enum class FileOperatorOperation {
  opCopyFile,
  opDeleteFile,
  opMoveFile,
  opRenameFile
};

// The component's flags as the shell's FOF_* bits.
inline constexpr std::uint16_t opMultiDestFiles = platform::kFofMultiDestFiles;
inline constexpr std::uint16_t opNoConfirmation = platform::kFofNoConfirmation;
inline constexpr std::uint16_t opNoConfirmMkDir = platform::kFofNoConfirmMkDir;

inline constexpr char kDirectoryInformationInvalid[] =
    "Directory Information is invalid";
inline constexpr char kCannotLocateCurrentDirectory[] =
    "Can not locate current Directory";

class TFileOperator {
 public:
  explicit TFileOperator(platform::Shell& shell) : shell_(shell) {}

  std::vector<std::string>& FilesFrom() { return files_from_; }
  const std::string& DirFrom() const { return dir_from_; }
  void SetDirFrom(const std::string& dir) { dir_from_ = dir; }
  const std::string& DirTo() const { return dir_to_; }
  void SetDirTo(const std::string& dir) { dir_to_ = dir; }
  FileOperatorOperation Operation() const { return operation_; }
  void SetOperation(FileOperatorOperation operation) { operation_ = operation; }
  std::uint16_t Flags() const { return flags_; }
  void SetFlags(std::uint16_t flags) { flags_ = flags; }

  // One shell operation for the whole list: true when the shell reports
  // success, false without a call when the list is empty. Raises
  // PlumetaError "Directory Information is invalid" when a copy or move has
  // no destination, "Can not locate current Directory" when DirFrom cannot be
  // made the current folder.
  bool Execute();

 private:
  platform::Shell& shell_;
  std::vector<std::string> files_from_;
  std::string dir_from_;
  std::string dir_to_;
  FileOperatorOperation operation_ = FileOperatorOperation::opCopyFile;
  std::uint16_t flags_ = 0;
};

}  // namespace plumeta::setup

#endif  // SETUP_FILE_OPERATOR_H_
