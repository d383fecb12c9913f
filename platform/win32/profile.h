// platform/win32: Win32 calls only, in their ANSI ("A") forms. WIN.INI
// through WriteProfileStringA, and the WM_WININICHANGE broadcast.
#ifndef PLATFORM_WIN32_PROFILE_H_
#define PLATFORM_WIN32_PROFILE_H_

#include "platform/profile.h"

namespace plumeta::win32 {

class Win32Profile : public platform::Profile {
 public:
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  void BroadcastChange(const std::string& section) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_PROFILE_H_
