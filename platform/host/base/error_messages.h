// Host stand-in (Linux only). Windows' own texts for the system error codes
// the programs meet, as FormatMessageA gives them (with their CR LF).
#ifndef PLATFORM_HOST_BASE_ERROR_MESSAGES_H_
#define PLATFORM_HOST_BASE_ERROR_MESSAGES_H_

#include <string>

#include "platform/error_codes.h"

namespace plumeta::host {

// Empty for a code the table does not know, as FormatMessageA fails then.
std::string WindowsErrorMessage(platform::ErrorCode code);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_ERROR_MESSAGES_H_
