// platform/win32: Win32 calls only, in their ANSI ("A") forms. The system's
// secure random source: RtlGenRandom (advapi32's SystemFunction036) where it
// exists, else the CryptoAPI's CryptGenRandom.
#ifndef PLATFORM_WIN32_WIN32_RANDOM_H_
#define PLATFORM_WIN32_WIN32_RANDOM_H_

#include "platform/random.h"

namespace plumeta::win32 {

class Win32Random : public platform::Random {
 public:
  platform::ErrorCode Fill(std::uint8_t* data, std::size_t size) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WIN32_RANDOM_H_
