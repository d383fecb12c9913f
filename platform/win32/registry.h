// platform/win32: Win32 calls only, in their ANSI ("A") forms. The registry
// through advapi32.
#ifndef PLATFORM_WIN32_REGISTRY_H_
#define PLATFORM_WIN32_REGISTRY_H_

#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

class Win32Registry : public platform::Registry {
 public:
  platform::ErrorCode OpenKeyToRead(
      platform::RootKey root, const std::string& path,
      std::unique_ptr<platform::RegistryKey>* key) override;
  platform::ErrorCode OpenKey(
      platform::RootKey root, const std::string& path, bool create,
      std::unique_ptr<platform::RegistryKey>* key) override;
  // RegDeleteTreeA where advapi32 has it (Vista and later), otherwise
  // DeleteKeyTreeByHand. An empty path is refused with
  // kErrorInvalidParameter: it would name the root itself.
  platform::ErrorCode DeleteKeyTree(platform::RootKey root,
                                    const std::string& path) override;
};

HKEY RootKeyHandle(platform::RootKey root);

// Deletes `path` under `parent` with everything below it, subkeys first, for
// the systems without RegDeleteTreeA (Windows 9x, NT 4.0, 2000, XP).
LSTATUS DeleteKeyTreeByHand(HKEY parent, const std::string& path);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_REGISTRY_H_
