// Host stand-in (Linux only). POSIX failures as the Windows error codes the
// platform interfaces report.
#ifndef PLATFORM_HOST_BASE_ERROR_FROM_ERRNO_H_
#define PLATFORM_HOST_BASE_ERROR_FROM_ERRNO_H_

#include "platform/error_codes.h"

namespace plumeta::host {

// The Windows code for a failed POSIX call on `linux_path`: ENOENT is
// "file not found" when the folder exists and "path not found" otherwise.
platform::ErrorCode ErrorFromErrno(int error_number,
                                   const char* linux_path = nullptr);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_ERROR_FROM_ERRNO_H_
