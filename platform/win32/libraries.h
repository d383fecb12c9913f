// platform/win32: Win32 calls only, in their ANSI ("A") forms. Libraries
// through LoadLibraryA and GetProcAddress.
#ifndef PLATFORM_WIN32_LIBRARIES_H_
#define PLATFORM_WIN32_LIBRARIES_H_

#include <string>

#include "platform/libraries.h"

namespace plumeta::win32 {

class Win32Libraries : public platform::Libraries {
 public:
  Handle Load(const std::string& name) override;
  // Null for the null handle: GetProcAddress would search the program itself.
  platform::EntryPoint Find(Handle library, const std::string& name) override;
  void Free(Handle library) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_LIBRARIES_H_
