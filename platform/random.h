// The system's secure source of random bytes (for secrets nobody is meant to
// know, such as a generated PDF owner password).
#ifndef PLATFORM_RANDOM_H_
#define PLATFORM_RANDOM_H_

#include <cstddef>
#include <cstdint>

#include "platform/error_codes.h"

namespace plumeta::platform {

class Random {
 public:
  virtual ~Random() = default;
  // Fills `size` bytes at `data`; kSuccess, or the system's error code when
  // the source is not available (nothing is to be used then).
  virtual ErrorCode Fill(std::uint8_t* data, std::size_t size) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_RANDOM_H_
