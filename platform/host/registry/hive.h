// Host stand-in (Linux only). One registry hive in memory: a tree of keys,
// each with its values. Names keep the case they were created with and are
// found without regard to case.
#ifndef PLATFORM_HOST_REGISTRY_HIVE_H_
#define PLATFORM_HOST_REGISTRY_HIVE_H_

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/registry.h"

namespace plumeta::host {

class HiveKey {
 public:
  struct NamedValue {
    std::string name;  // empty: the key's default value
    platform::RegistryValue value;
  };
  using Subkeys = std::map<std::string, std::unique_ptr<HiveKey>, NameLess>;

  explicit HiveKey(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  const platform::RegistryValue* FindValue(std::string_view name) const;
  // A value that exists under another case keeps its name and its place.
  void SetValue(std::string_view name, platform::RegistryValue value);
  bool DeleteValue(std::string_view name);
  void DeleteAllValues() { values_.clear(); }
  // In the order they were first set, as Windows enumerates them.
  const std::vector<NamedValue>& values() const { return values_; }

  HiveKey* FindSubkey(std::string_view name);
  const HiveKey* FindSubkey(std::string_view name) const;
  // The subkey of that name, created when missing.
  HiveKey& AddSubkey(std::string_view name);
  bool DeleteSubkey(std::string_view name);
  // Ordered by their upper-case names, as Windows enumerates them.
  const Subkeys& subkeys() const { return subkeys_; }

 private:
  std::string name_;
  std::vector<NamedValue> values_;
  Subkeys subkeys_;
};

// Splits "SOFTWARE\Microsoft\Windows" into its key names; one trailing
// backslash is allowed. nullopt when a name is empty (a leading or doubled
// backslash) or holds a character a hive file cannot keep (NUL, CR, LF).
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);

// True for a value name that a hive file can keep.
bool IsStorableValueName(std::string_view name);

class Hive {
 public:
  Hive() : root_("") {}

  HiveKey& root() { return root_; }
  const HiveKey& root() const { return root_; }

  HiveKey* Find(const std::vector<std::string>& names);
  const HiveKey* Find(const std::vector<std::string>& names) const;
  // The key, with every missing key on the way created.
  HiveKey& Create(const std::vector<std::string>& names);
  // Deletes the key with everything under it; false when it does not exist.
  // The root cannot be deleted.
  bool DeleteTree(const std::vector<std::string>& names);

 private:
  HiveKey root_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_HIVE_H_
