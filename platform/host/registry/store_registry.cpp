#include "platform/host/registry/store_registry.h"

#include <optional>
#include <vector>

#include "platform/host/base/error_from_errno.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/host/registry/regedit4.h"

namespace plumeta::host {
namespace {

using platform::ErrorCode;
using platform::kErrorFileNotFound;
using platform::kErrorKeyDeleted;
using platform::kSuccess;
using platform::RegistryValue;
using platform::RootKey;

class StoreRegistryKey : public platform::RegistryKey {
 public:
  StoreRegistryKey(std::shared_ptr<HiveStore> store, RootKey root,
                   std::vector<std::string> names)
      : store_(std::move(store)), root_(root), names_(std::move(names)) {}

  ErrorCode ReadValue(const std::string& name, RegistryValue* value) override {
    ErrorCode result = kSuccess;
    ErrorCode store = store_->Read(root_, [&](const Hive& hive) {
      const HiveKey* key = hive.Find(names_);
      const RegistryValue* found = key ? key->FindValue(name) : nullptr;
      if (key == nullptr) {
        result = kErrorKeyDeleted;
      } else if (found == nullptr) {
        result = kErrorFileNotFound;
      } else {
        *value = *found;
      }
    });
    return store != kSuccess ? store : result;
  }

  ErrorCode WriteValue(const std::string& name,
                       const RegistryValue& value) override {
    if (!IsStorableValueName(name)) return platform::kErrorInvalidParameter;
    return Change([&](HiveKey& key) {
      key.SetValue(name, value);
      return kSuccess;
    });
  }

  ErrorCode DeleteValue(const std::string& name) override {
    return Change([&](HiveKey& key) {
      return key.DeleteValue(name) ? kSuccess : kErrorFileNotFound;
    });
  }

  ErrorCode ValueNames(std::vector<std::string>* names) override {
    return List([names](const HiveKey& key) {
      names->clear();
      for (const auto& named : key.values()) names->push_back(named.name);
    });
  }

  ErrorCode SubkeyNames(std::vector<std::string>* names) override {
    return List([names](const HiveKey& key) {
      names->clear();
      for (const auto& [name, subkey] : key.subkeys()) {
        names->push_back(subkey->name());
      }
    });
  }

 private:
  // Runs `change` on the key; it returns its result, kSuccess when it changed
  // the key.
  ErrorCode Change(const std::function<ErrorCode(HiveKey&)>& change) {
    ErrorCode result = kSuccess;
    ErrorCode store = store_->Update(root_, [&](Hive& hive) {
      HiveKey* key = hive.Find(names_);
      result = key == nullptr ? kErrorKeyDeleted : change(*key);
      return result == kSuccess;
    });
    return store != kSuccess ? store : result;
  }

  ErrorCode List(const std::function<void(const HiveKey&)>& list) {
    ErrorCode result = kSuccess;
    ErrorCode store = store_->Read(root_, [&](const Hive& hive) {
      const HiveKey* key = hive.Find(names_);
      if (key == nullptr) {
        result = kErrorKeyDeleted;
      } else {
        list(*key);
      }
    });
    return store != kSuccess ? store : result;
  }

  std::shared_ptr<HiveStore> store_;
  RootKey root_;
  std::vector<std::string> names_;
};

}  // namespace

StoreRegistry::StoreRegistry(std::shared_ptr<HiveStore> store)
    : store_(std::move(store)) {}

ErrorCode StoreRegistry::OpenKey(RootKey root, const std::string& path,
                                 bool create,
                                 std::unique_ptr<platform::RegistryKey>* key) {
  std::optional<std::vector<std::string>> names = SplitKeyPath(path);
  if (!names) return platform::kErrorBadPathname;
  ErrorCode result = kSuccess;
  ErrorCode store;
  if (create) {
    store = store_->Update(root, [&](Hive& hive) {
      if (hive.Find(*names) != nullptr) return false;
      hive.Create(*names);
      return true;
    });
  } else {
    store = store_->Read(root, [&](const Hive& hive) {
      if (hive.Find(*names) == nullptr) result = kErrorFileNotFound;
    });
  }
  if (store != kSuccess) return store;
  if (result != kSuccess) return result;
  *key = std::make_unique<StoreRegistryKey>(store_, root, std::move(*names));
  return kSuccess;
}

ErrorCode StoreRegistry::DeleteKeyTree(RootKey root, const std::string& path) {
  std::optional<std::vector<std::string>> names = SplitKeyPath(path);
  if (!names) return platform::kErrorBadPathname;
  if (names->empty()) return platform::kErrorAccessDenied;
  ErrorCode result = kSuccess;
  ErrorCode store = store_->Update(root, [&](Hive& hive) {
    if (hive.DeleteTree(*names)) return true;
    result = kErrorFileNotFound;
    return false;
  });
  return store != kSuccess ? store : result;
}

std::string MemoryRegistry::Export(RootKey root) {
  std::string text;
  store().Read(root, [&](const Hive& hive) {
    text = WriteRegedit4(hive, RootKeyName(root));
  });
  return text;
}

}  // namespace plumeta::host
