// Host stand-in (Linux only).
#include "platform/host/kernel/random.h"

#include <sys/random.h>

#include <cerrno>

namespace plumeta::host {

platform::ErrorCode HostRandom::Fill(std::uint8_t* data, std::size_t size) {
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = ::getrandom(data + filled, size - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return platform::kErrorNotSupported;
    }
    filled += static_cast<std::size_t>(got);
  }
  return platform::kSuccess;
}

}  // namespace plumeta::host
