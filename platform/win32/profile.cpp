// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/profile.h"

#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

bool Win32Profile::WriteString(const std::string& section,
                               const std::string& key,
                               const std::string& value) {
  return ::WriteProfileStringA(section.c_str(), key.c_str(), value.c_str()) !=
         FALSE;
}

void Win32Profile::BroadcastChange(const std::string& section) {
  ::SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0,
                 reinterpret_cast<LPARAM>(section.c_str()));
}

}  // namespace plumeta::win32
