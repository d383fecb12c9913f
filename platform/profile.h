// The system's profile (WIN.INI, or the registry that stands for it on the NT
// family) and the broadcast that tells every top-level window it changed.
#ifndef PLATFORM_PROFILE_H_
#define PLATFORM_PROFILE_H_

#include <string>

namespace plumeta::platform {

class Profile {
 public:
  virtual ~Profile() = default;
  // WriteProfileStringA; false when the system refused it.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  // SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, section).
  virtual void BroadcastChange(const std::string& section) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_PROFILE_H_
