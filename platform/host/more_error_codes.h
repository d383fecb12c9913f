// Host stand-in (Linux only). Windows error codes that only the stand-ins
// report, beside the ones every platform speaks (platform/error_codes.h).
#ifndef PLATFORM_HOST_MORE_ERROR_CODES_H_
#define PLATFORM_HOST_MORE_ERROR_CODES_H_

#include "platform/error_codes.h"

namespace plumeta::host {

inline constexpr platform::ErrorCode kErrorInvalidFunction = 1;
inline constexpr platform::ErrorCode kErrorNotSameDevice = 17;
inline constexpr platform::ErrorCode kErrorDiskFull = 112;
inline constexpr platform::ErrorCode kErrorModuleNotFound = 126;
inline constexpr platform::ErrorCode kErrorProcedureNotFound = 127;
inline constexpr platform::ErrorCode kErrorBadPathname = 161;
inline constexpr platform::ErrorCode kErrorFilenameTooLong = 206;
inline constexpr platform::ErrorCode kErrorRegistryCorrupt = 1009;

// The Windows code for a failed POSIX call on `linux_path`: ENOENT is
// "file not found" when the folder exists and "path not found" otherwise.
platform::ErrorCode ErrorFromErrno(int error_number,
                                   const char* linux_path = nullptr);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_MORE_ERROR_CODES_H_
