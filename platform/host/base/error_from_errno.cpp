#include "platform/host/base/error_from_errno.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace plumeta::host {
namespace {

bool FolderOfExists(const char* linux_path) {
  std::string path(linux_path);
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;  // the current folder
  std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  struct stat info;
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

platform::ErrorCode ErrorFromErrno(int error_number, const char* linux_path) {
  switch (error_number) {
    case 0:
      return platform::kSuccess;
    case ENOENT:
      return linux_path == nullptr || FolderOfExists(linux_path)
                 ? platform::kErrorFileNotFound
                 : platform::kErrorPathNotFound;
    case ENOTDIR:
      return platform::kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return platform::kErrorAccessDenied;
    case EEXIST:
    case ENOTEMPTY:
      return platform::kErrorAlreadyExists;
    case EBUSY:
    case EWOULDBLOCK:
      return platform::kErrorSharingViolation;
    case EMFILE:
    case ENFILE:
      return platform::kErrorTooManyOpenFiles;
    case ENOMEM:
      return platform::kErrorNotEnoughMemory;
    case ENOSPC:
    case EDQUOT:
      return platform::kErrorDiskFull;
    case ENAMETOOLONG:
      return platform::kErrorFilenameTooLong;
    case EXDEV:
      return platform::kErrorNotSameDevice;
    case EINVAL:
      return platform::kErrorInvalidParameter;
    default:
      return platform::kErrorWriteFault;
  }
}

}  // namespace plumeta::host
