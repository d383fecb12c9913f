// Host stand-in (Linux only). The registry kept in this process's memory:
// what the unit tests use instead of a fake registry.
//
//   plumeta::host::MemoryRegistry registry;
//   registry.OpenKey(platform::RootKey::kCurrentUser, "Software\\X", true,
//   &key); registry.hive(platform::RootKey::kCurrentUser)  // to prepare or
//   inspect registry = plumeta::host::MemoryRegistry();     // empty again
#ifndef PLATFORM_HOST_REGISTRY_MEMORY_REGISTRY_H_
#define PLATFORM_HOST_REGISTRY_MEMORY_REGISTRY_H_

#include <memory>
#include <string>

#include "platform/host/registry/hive_store.h"
#include "platform/host/registry/store_registry.h"

namespace plumeta::host {

class MemoryRegistry : public StoreRegistry {
 public:
  MemoryRegistry() : MemoryRegistry(std::make_shared<MemoryHiveStore>()) {}

  Hive& hive(platform::RootKey root) { return memory_->hive(root); }
  // The hive as REGEDIT4 text, handy in a failing test's message.
  std::string Export(platform::RootKey root);

 private:
  explicit MemoryRegistry(std::shared_ptr<MemoryHiveStore> store)
      : StoreRegistry(store), memory_(store.get()) {}

  MemoryHiveStore* memory_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_MEMORY_REGISTRY_H_
