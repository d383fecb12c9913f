#include "monitor/conversion_settings.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "common/errors.h"

namespace plumeta {
namespace {

using Field = std::string ConversionSettings::*;

// The stored values in the order they are read and written.
const std::vector<std::pair<const char*, Field>>& StoredFields() {
  static const std::vector<std::pair<const char*, Field>> fields = {
      {kVersionValue, &ConversionSettings::version},
      {kQualityValue, &ConversionSettings::quality},
      {kUserPasswordValue, &ConversionSettings::user_password},
      {kOwnerPasswordValue, &ConversionSettings::owner_password},
      {kResolutionValue, &ConversionSettings::resolution},
      {kPermissionValue, &ConversionSettings::permission},
  };
  return fields;
}

}  // namespace

bool PermissionWithheld(const std::string& permission, std::size_t index) {
  return index < permission.size() && permission[index] == '0';
}

std::string PermissionCode(const std::string& permission) {
  int code = 4;
  for (std::size_t i = 0; i < kSecurityItems.size(); ++i) {
    if (PermissionWithheld(permission, i))
      code += kSecurityItems[i].withheld_value;
  }
  return std::to_string(code);
}

ConversionSettings ReadConversionSettings(platform::Registry& registry,
                                          std::vector<std::string>* problems,
                                          std::vector<std::string>* unread) {
  ConversionSettings settings;
  std::vector<std::string> not_read;
  std::unique_ptr<platform::RegistryKey> key;
  const bool opened =
      registry.OpenKey(platform::RootKey::kCurrentUser, kSettingsKey,
                       /*create=*/true, &key) == platform::kSuccess;
  if (!opened) {
    problems->push_back(
        RegistryError::FailedToGetData(StoredFields().front().first).what());
  }
  bool failed = !opened;
  for (const auto& [name, field] : StoredFields()) {
    if (failed) {
      not_read.push_back(name);
      continue;
    }
    platform::RegistryValue value;
    const platform::ErrorCode code = key->ReadValue(name, &value);
    if (code == platform::kErrorFileNotFound) continue;
    if (code != platform::kSuccess) {
      problems->push_back(RegistryError::FailedToGetData(name).what());
      failed = true;
      not_read.push_back(name);
      continue;
    }
    if (value.type != platform::ValueType::kString &&
        value.type != platform::ValueType::kExpandString) {
      problems->push_back(RegistryError::InvalidDataType(name).what());
      not_read.push_back(name);
      continue;
    }
    settings.*field = value.Text();
  }
  if (unread) *unread = std::move(not_read);
  return settings;
}

bool IsResolution(const std::string& resolution) {
  long long value = 0;
  for (char c : resolution) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > kMaxResolution) return false;
  }
  return !resolution.empty() && value >= kMinResolution;
}

void ApplyDefaults(ConversionSettings& settings) {
  if (settings.version.empty()) settings.version = "1.3";
  if (settings.quality.empty()) settings.quality = "Default";
  if (settings.resolution.empty()) settings.resolution = kDefaultResolution;
  if (settings.permission.empty()) settings.permission = kAllPermissions;
}

void StoreConversionSettings(platform::Registry& registry,
                             const ConversionSettings& settings,
                             const std::vector<std::string>& unread,
                             const ConversionSettings& loaded) {
  std::unique_ptr<platform::RegistryKey> key;
  const bool opened =
      registry.OpenKey(platform::RootKey::kCurrentUser, kSettingsKey,
                       /*create=*/true, &key) == platform::kSuccess;
  for (const auto& [name, field] : StoredFields()) {
    if (settings.*field == loaded.*field &&
        std::find(unread.begin(), unread.end(), name) != unread.end()) {
      continue;
    }
    if (!opened ||
        key->WriteString(name, settings.*field) != platform::kSuccess) {
      throw RegistryError::FailedToSetData(name);
    }
  }
}

}  // namespace plumeta
