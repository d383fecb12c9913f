// Host stand-in (Linux only). Where the registry's two hives live. Every
// registry operation reads the hive afresh through its store and, when it
// changes something, writes it back in the same step, so several programs
// sharing a store lose nothing.
#ifndef PLATFORM_HOST_REGISTRY_HIVE_STORE_H_
#define PLATFORM_HOST_REGISTRY_HIVE_STORE_H_

#include <functional>
#include <mutex>

#include "platform/error_codes.h"
#include "platform/host/registry/hive.h"
#include "platform/registry.h"

namespace plumeta::host {

class HiveStore {
 public:
  virtual ~HiveStore() = default;
  // Runs `read` on the current hive.
  virtual platform::ErrorCode Read(
      platform::RootKey root, const std::function<void(const Hive&)>& read) = 0;
  // Runs `change` on the current hive; `change` returns whether it changed
  // anything, and a changed hive is kept. Nobody else changes the hive in
  // between.
  virtual platform::ErrorCode Update(
      platform::RootKey root, const std::function<bool(Hive&)>& change) = 0;
};

// Both hives in this process's memory.
class MemoryHiveStore : public HiveStore {
 public:
  platform::ErrorCode Read(
      platform::RootKey root,
      const std::function<void(const Hive&)>& read) override;
  platform::ErrorCode Update(platform::RootKey root,
                             const std::function<bool(Hive&)>& change) override;

  // The hive itself, for a test to prepare or inspect between operations.
  Hive& hive(platform::RootKey root) { return hives_[Index(root)]; }

 private:
  static int Index(platform::RootKey root) {
    return root == platform::RootKey::kLocalMachine ? 0 : 1;
  }

  std::mutex mutex_;
  Hive hives_[2];
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_HIVE_STORE_H_
