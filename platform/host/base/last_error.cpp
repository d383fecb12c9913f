#include "platform/host/base/last_error.h"

namespace plumeta::host {
namespace {

thread_local platform::ErrorCode last_error = platform::kSuccess;

}  // namespace

platform::ErrorCode ThreadLastError() { return last_error; }

void SetThreadLastError(platform::ErrorCode code) { last_error = code; }

}  // namespace plumeta::host
