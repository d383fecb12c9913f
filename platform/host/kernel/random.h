// Host stand-in (Linux only). Random bytes from the kernel's secure source.
#ifndef PLATFORM_HOST_KERNEL_RANDOM_H_
#define PLATFORM_HOST_KERNEL_RANDOM_H_

#include "platform/random.h"

namespace plumeta::host {

class HostRandom : public platform::Random {
 public:
  platform::ErrorCode Fill(std::uint8_t* data, std::size_t size) override;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_RANDOM_H_
