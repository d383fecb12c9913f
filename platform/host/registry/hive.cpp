#include "platform/host/registry/hive.h"

#include <algorithm>

namespace plumeta::host {
namespace {

bool HasUnstorableCharacter(std::string_view name) {
  return name.find_first_of(std::string_view("\0\r\n", 3)) !=
         std::string_view::npos;
}

}  // namespace

const platform::RegistryValue* HiveKey::FindValue(std::string_view name) const {
  for (const NamedValue& named : values_) {
    if (SameName(named.name, name)) return &named.value;
  }
  return nullptr;
}

void HiveKey::SetValue(std::string_view name, platform::RegistryValue value) {
  for (NamedValue& named : values_) {
    if (SameName(named.name, name)) {
      named.value = std::move(value);
      return;
    }
  }
  values_.push_back({std::string(name), std::move(value)});
}

bool HiveKey::DeleteValue(std::string_view name) {
  auto it = std::find_if(
      values_.begin(), values_.end(),
      [name](const NamedValue& named) { return SameName(named.name, name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

HiveKey* HiveKey::FindSubkey(std::string_view name) {
  auto it = subkeys_.find(name);
  return it == subkeys_.end() ? nullptr : it->second.get();
}

const HiveKey* HiveKey::FindSubkey(std::string_view name) const {
  auto it = subkeys_.find(name);
  return it == subkeys_.end() ? nullptr : it->second.get();
}

HiveKey& HiveKey::AddSubkey(std::string_view name) {
  auto it = subkeys_.find(name);
  if (it == subkeys_.end()) {
    it = subkeys_
             .emplace(std::string(name),
                      std::make_unique<HiveKey>(std::string(name)))
             .first;
  }
  return *it->second;
}

bool HiveKey::DeleteSubkey(std::string_view name) {
  auto it = subkeys_.find(name);
  if (it == subkeys_.end()) return false;
  subkeys_.erase(it);
  return true;
}

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  if (path.empty()) return names;
  if (path.back() == '\\') path.remove_suffix(1);
  std::size_t start = 0;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end - start);
    if (name.empty() || HasUnstorableCharacter(name)) return std::nullopt;
    names.emplace_back(name);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return names;
}

bool IsStorableValueName(std::string_view name) {
  return !HasUnstorableCharacter(name);
}

HiveKey* Hive::Find(const std::vector<std::string>& names) {
  HiveKey* key = &root_;
  for (const std::string& name : names) {
    key = key->FindSubkey(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

const HiveKey* Hive::Find(const std::vector<std::string>& names) const {
  const HiveKey* key = &root_;
  for (const std::string& name : names) {
    key = key->FindSubkey(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

HiveKey& Hive::Create(const std::vector<std::string>& names) {
  HiveKey* key = &root_;
  for (const std::string& name : names) key = &key->AddSubkey(name);
  return *key;
}

bool Hive::DeleteTree(const std::vector<std::string>& names) {
  if (names.empty()) return false;
  HiveKey* parent =
      Find(std::vector<std::string>(names.begin(), names.end() - 1));
  return parent != nullptr && parent->DeleteSubkey(names.back());
}

}  // namespace plumeta::host
