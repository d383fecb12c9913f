// Host stand-in (Linux only). The calling thread's last error, as
// GetLastError/SetLastError keep it; shared by every host stand-in.
#ifndef PLATFORM_HOST_BASE_LAST_ERROR_H_
#define PLATFORM_HOST_BASE_LAST_ERROR_H_

#include "platform/error_codes.h"

namespace plumeta::host {

platform::ErrorCode ThreadLastError();
void SetThreadLastError(platform::ErrorCode code);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_LAST_ERROR_H_
