// The registry as a user without administrator rights sees it on NT: keys
// under HKEY_LOCAL_MACHINE open to read only; asking for full access there
// is refused.
#ifndef TESTS_UNIT_SUPPORT_STANDARD_USER_REGISTRY_H_
#define TESTS_UNIT_SUPPORT_STANDARD_USER_REGISTRY_H_

#include <memory>
#include <string>

#include "platform/error_codes.h"
#include "platform/registry.h"

namespace plumeta::testing {

class StandardUserRegistry : public platform::Registry {
 public:
  explicit StandardUserRegistry(platform::Registry& inner) : inner_(inner) {}

  platform::ErrorCode OpenKey(
      platform::RootKey root, const std::string& path, bool create,
      std::unique_ptr<platform::RegistryKey>* key) override {
    if (root == platform::RootKey::kLocalMachine) {
      return platform::kErrorAccessDenied;
    }
    return inner_.OpenKey(root, path, create, key);
  }
  platform::ErrorCode OpenKeyToRead(
      platform::RootKey root, const std::string& path,
      std::unique_ptr<platform::RegistryKey>* key) override {
    return inner_.OpenKeyToRead(root, path, key);
  }
  platform::ErrorCode DeleteKeyTree(platform::RootKey root,
                                    const std::string& path) override {
    if (root == platform::RootKey::kLocalMachine) {
      return platform::kErrorAccessDenied;
    }
    return inner_.DeleteKeyTree(root, path);
  }

 private:
  platform::Registry& inner_;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_STANDARD_USER_REGISTRY_H_
