#include "platform/host/print/print_registry.h"

namespace plumeta::host {

std::unique_ptr<platform::RegistryKey> OpenExistingMachineKey(
    platform::Registry& registry, const std::string& path) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(platform::RootKey::kLocalMachine, path, false, &key) !=
      platform::kSuccess) {
    return nullptr;
  }
  return key;
}

std::vector<std::string> MachineSubkeyNames(platform::Registry& registry,
                                            const std::string& path) {
  std::vector<std::string> names;
  if (auto key = OpenExistingMachineKey(registry, path)) {
    key->SubkeyNames(&names);
  }
  return names;
}

}  // namespace plumeta::host
