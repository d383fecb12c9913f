// Windows system error codes that the core and the stand-ins speak in. The
// platform interfaces report failures with these numbers on every platform.
#ifndef PLATFORM_ERROR_CODES_H_
#define PLATFORM_ERROR_CODES_H_

#include <cstdint>

namespace plumeta::platform {

using ErrorCode = std::uint32_t;

inline constexpr ErrorCode kSuccess = 0;
inline constexpr ErrorCode kErrorInvalidFunction = 1;
inline constexpr ErrorCode kErrorFileNotFound = 2;
inline constexpr ErrorCode kErrorPathNotFound = 3;
inline constexpr ErrorCode kErrorTooManyOpenFiles = 4;
inline constexpr ErrorCode kErrorAccessDenied = 5;
inline constexpr ErrorCode kErrorInvalidHandle = 6;
inline constexpr ErrorCode kErrorNotEnoughMemory = 8;
inline constexpr ErrorCode kErrorInvalidData = 13;
inline constexpr ErrorCode kErrorNotSameDevice = 17;
inline constexpr ErrorCode kErrorWriteFault = 29;
inline constexpr ErrorCode kErrorSharingViolation = 32;
inline constexpr ErrorCode kErrorNotSupported = 50;
inline constexpr ErrorCode kErrorFileExists = 80;
inline constexpr ErrorCode kErrorInvalidParameter = 87;
inline constexpr ErrorCode kErrorDiskFull = 112;
inline constexpr ErrorCode kErrorInsufficientBuffer = 122;
inline constexpr ErrorCode kErrorInvalidName = 123;
inline constexpr ErrorCode kErrorInvalidLevel = 124;
inline constexpr ErrorCode kErrorModuleNotFound = 126;
inline constexpr ErrorCode kErrorProcedureNotFound = 127;
inline constexpr ErrorCode kErrorBadPathname = 161;
inline constexpr ErrorCode kErrorAlreadyExists = 183;
inline constexpr ErrorCode kErrorFilenameTooLong = 206;
inline constexpr ErrorCode kErrorMoreData = 234;
inline constexpr ErrorCode kErrorNoMoreItems = 259;
inline constexpr ErrorCode kErrorRegistryCorrupt = 1009;
inline constexpr ErrorCode kErrorKeyDeleted = 1018;
inline constexpr ErrorCode kErrorUnknownPort = 1796;
inline constexpr ErrorCode kErrorUnknownPrinterDriver = 1797;
inline constexpr ErrorCode kErrorInvalidPrinterName = 1801;
inline constexpr ErrorCode kErrorPrinterAlreadyExists = 1802;
inline constexpr ErrorCode kErrorUnknownPrinterDriverEnvironment = 1805;
inline constexpr ErrorCode kErrorPrinterDriverInUse = 3001;

}  // namespace plumeta::platform

#endif  // PLATFORM_ERROR_CODES_H_
