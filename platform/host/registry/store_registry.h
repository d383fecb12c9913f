// Host stand-in (Linux only). platform::Registry over a HiveStore. A key
// keeps only its path: every call finds the key afresh in the current hive,
// and a key that has been deleted meanwhile answers kErrorKeyDeleted, as an
// open handle to a deleted key does on Windows.
#ifndef PLATFORM_HOST_REGISTRY_STORE_REGISTRY_H_
#define PLATFORM_HOST_REGISTRY_STORE_REGISTRY_H_

#include <memory>
#include <string>

#include "platform/host/registry/file_hive_store.h"
#include "platform/host/registry/hive_store.h"
#include "platform/registry.h"

namespace plumeta::host {

class StoreRegistry : public platform::Registry {
 public:
  explicit StoreRegistry(std::shared_ptr<HiveStore> store);

  // kErrorFileNotFound for a missing key (without `create`),
  // platform::kErrorBadPathname for a path with an empty name (a leading or
  // doubled backslash) or a character a hive file cannot keep.
  platform::ErrorCode OpenKey(
      platform::RootKey root, const std::string& path, bool create,
      std::unique_ptr<platform::RegistryKey>* key) override;
  // The root keys themselves cannot be deleted (kErrorAccessDenied).
  platform::ErrorCode DeleteKeyTree(platform::RootKey root,
                                    const std::string& path) override;

  HiveStore& store() { return *store_; }

 private:
  std::shared_ptr<HiveStore> store_;
};

// The box's registry: the hive files in `registry_folder`, with `user`'s
// HKEY_CURRENT_USER when that is another user than the box's own.
class FileRegistry : public StoreRegistry {
 public:
  explicit FileRegistry(const std::string& registry_folder,
                        const std::string& user = "")
      : StoreRegistry(std::make_shared<FileHiveStore>(registry_folder, user)) {}
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_STORE_REGISTRY_H_
