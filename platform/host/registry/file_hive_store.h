// Host stand-in (Linux only). The box's hives as REGEDIT4 files in its
// registry/ folder: HKEY_LOCAL_MACHINE.reg and HKEY_CURRENT_USER.reg. Each
// operation takes the hive's lock file (flock: shared to read, exclusive to
// change), reads the file, and replaces it by writing a temporary file and
// renaming it over the old one, so that readers never see half a file and
// programs writing at the same time lose nothing.
#ifndef PLATFORM_HOST_REGISTRY_FILE_HIVE_STORE_H_
#define PLATFORM_HOST_REGISTRY_FILE_HIVE_STORE_H_

#include <string>

#include "platform/host/registry/hive_store.h"

namespace plumeta::host {

class FileHiveStore : public HiveStore {
 public:
  // `user`: another user of the box than its own, whose HKEY_CURRENT_USER
  // is HKEY_CURRENT_USER.<user in lower case>.reg.
  explicit FileHiveStore(std::string registry_folder, std::string user = "");

  // A hive file that cannot be read as REGEDIT4 fails every operation with
  // platform::kErrorRegistryCorrupt and is left as it is; the fault goes to
  // stderr.
  platform::ErrorCode Read(
      platform::RootKey root,
      const std::function<void(const Hive&)>& read) override;
  platform::ErrorCode Update(platform::RootKey root,
                             const std::function<bool(Hive&)>& change) override;

  // "<folder>/HKEY_LOCAL_MACHINE.reg" and its lock "....lock".
  std::string HiveFile(platform::RootKey root) const;
  std::string LockFile(platform::RootKey root) const;

  // Writes `hive` as the root's file, under the lock.
  platform::ErrorCode Save(platform::RootKey root, const Hive& hive);

 private:
  platform::ErrorCode Load(platform::RootKey root, Hive* hive);
  platform::ErrorCode Write(platform::RootKey root, const Hive& hive);

  std::string FileStem(platform::RootKey root) const;

  std::string folder_;
  std::string user_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_FILE_HIVE_STORE_H_
