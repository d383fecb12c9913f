#include "platform/host/registry/hive_store.h"

namespace plumeta::host {

platform::ErrorCode MemoryHiveStore::Read(
    platform::RootKey root, const std::function<void(const Hive&)>& read) {
  std::lock_guard lock(mutex_);
  read(hives_[Index(root)]);
  return platform::kSuccess;
}

platform::ErrorCode MemoryHiveStore::Update(
    platform::RootKey root, const std::function<bool(Hive&)>& change) {
  std::lock_guard lock(mutex_);
  change(hives_[Index(root)]);
  return platform::kSuccess;
}

}  // namespace plumeta::host
