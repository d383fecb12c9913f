// Loading system libraries and finding their entry points by name.
#ifndef PLATFORM_LIBRARIES_H_
#define PLATFORM_LIBRARIES_H_

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace plumeta::platform {

class Libraries {
 public:
  using Handle = std::uintptr_t;  // 0: not loaded
  virtual ~Libraries() = default;
  virtual Handle Load(const std::string& name) = 0;
  virtual EntryPoint Find(Handle library, const std::string& name) = 0;
  virtual void Free(Handle library) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_LIBRARIES_H_
