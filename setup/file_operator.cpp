#include "setup/file_operator.h"

#include "common/errors.h"

namespace plumeta::setup {
namespace {

platform::FileFunction ShellFunction(FileOperatorOperation operation) {
  switch (operation) {
    case FileOperatorOperation::opCopyFile:
      return platform::FileFunction::kCopy;
    case FileOperatorOperation::opDeleteFile:
      return platform::FileFunction::kDelete;
    case FileOperatorOperation::opMoveFile:
      return platform::FileFunction::kMove;
    case FileOperatorOperation::opRenameFile:
      return platform::FileFunction::kRename;
  }
  return platform::FileFunction::kCopy;
}

}  // namespace

bool TFileOperator::Execute() {
  if (!dir_from_.empty() && dir_from_.back() != '\\') dir_from_ += '\\';
  if (operation_ != FileOperatorOperation::opDeleteFile && dir_to_.empty()) {
    throw PlumetaError(kDirectoryInformationInvalid);
  }
  if (!dir_from_.empty() && !shell_.SetCurrentFolder(dir_from_)) {
    throw PlumetaError(kCannotLocateCurrentDirectory);
  }
  if (files_from_.empty()) return false;

  platform::FileOperation operation;
  operation.function = ShellFunction(operation_);
  for (const std::string& entry : files_from_) {
    operation.from.push_back(dir_from_ + entry);
  }
  operation.to = dir_to_;
  operation.flags = flags_;
  operation.progress_title = "Copying...";
  return shell_.RunFileOperation(operation) == 0;
}

}  // namespace plumeta::setup
