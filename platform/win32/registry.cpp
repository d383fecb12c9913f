// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/registry.h"

#include <utility>
#include <vector>

#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {

using platform::ErrorCode;
using platform::RegistryValue;
using platform::ValueType;

namespace {

// Names longer than this are not ours to read: the registry's limit is 16383
// characters for a value name, 255 for a key name.
constexpr DWORD kLongestName = 65536;
// A value that keeps growing while we read it is given up on after this many
// tries.
constexpr int kReadAttempts = 8;

enum class NameKind { kValues, kSubkeys };

LSTATUS EnumerateNames(HKEY key, NameKind kind,
                       std::vector<std::string>* names) {
  names->clear();
  std::string buffer(256, '\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS status =
        kind == NameKind::kValues
            ? ::RegEnumValueA(key, index, buffer.data(), &length, nullptr,
                              nullptr, nullptr, nullptr)
            : ::RegEnumKeyExA(key, index, buffer.data(), &length, nullptr,
                              nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status == ERROR_MORE_DATA && buffer.size() < kLongestName) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    names->emplace_back(buffer.data(), length);
    ++index;
  }
}

// "" (or only backslashes) opens the parent key itself: a tree delete would
// empty the whole root.
bool NamesTheParent(const std::string& path) {
  return path.find_first_not_of('\\') == std::string::npos;
}

bool IsStringType(ValueType type) {
  return type == ValueType::kString || type == ValueType::kExpandString;
}

class Win32RegistryKey : public platform::RegistryKey {
 public:
  explicit Win32RegistryKey(ScopedRegistryKey key) : key_(std::move(key)) {}

  ErrorCode ReadValue(const std::string& name, RegistryValue* value) override {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr,
                                        &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::string data;
    // The value can grow between the size query and the read: read again
    // with the size the registry reports until it fits.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
      data.resize(size > data.size() ? size : data.size() * 2 + 1);
      size = static_cast<DWORD>(data.size());
      status = ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
      if (status != ERROR_MORE_DATA) break;
    }
    if (status != ERROR_SUCCESS) return status;
    data.resize(size);
    value->type = static_cast<ValueType>(type);
    value->data = std::move(data);
    return platform::kSuccess;
  }

  ErrorCode WriteValue(const std::string& name,
                       const RegistryValue& value) override {
    std::string data = value.data;
    // A string stored without its NUL reads back unterminated.
    if (IsStringType(value.type) && (data.empty() || data.back() != '\0')) {
      data.push_back('\0');
    }
    return ::RegSetValueExA(key_.Get(), name.c_str(), 0,
                            static_cast<DWORD>(value.type),
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
  }

  ErrorCode DeleteValue(const std::string& name) override {
    return ::RegDeleteValueA(key_.Get(), name.c_str());
  }

  ErrorCode ValueNames(std::vector<std::string>* names) override {
    return EnumerateNames(key_.Get(), NameKind::kValues, names);
  }

  ErrorCode SubkeyNames(std::vector<std::string>* names) override {
    return EnumerateNames(key_.Get(), NameKind::kSubkeys, names);
  }

 private:
  ScopedRegistryKey key_;
};

}  // namespace

HKEY RootKeyHandle(platform::RootKey root) {
  return root == platform::RootKey::kLocalMachine ? HKEY_LOCAL_MACHINE
                                                  : HKEY_CURRENT_USER;
}

ErrorCode Win32Registry::OpenKey(platform::RootKey root,
                                 const std::string& path, bool create,
                                 std::unique_ptr<platform::RegistryKey>* key) {
  ScopedRegistryKey opened;
  const LSTATUS status =
      create ? ::RegCreateKeyExA(RootKeyHandle(root), path.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, opened.Receive(), nullptr)
             : ::RegOpenKeyExA(RootKeyHandle(root), path.c_str(), 0,
                               KEY_ALL_ACCESS, opened.Receive());
  if (status != ERROR_SUCCESS) return status;
  *key = std::make_unique<Win32RegistryKey>(std::move(opened));
  return platform::kSuccess;
}

ErrorCode Win32Registry::OpenKeyToRead(
    platform::RootKey root, const std::string& path,
    std::unique_ptr<platform::RegistryKey>* key) {
  ScopedRegistryKey opened;
  const LSTATUS status = ::RegOpenKeyExA(RootKeyHandle(root), path.c_str(), 0,
                                         KEY_READ, opened.Receive());
  if (status != ERROR_SUCCESS) return status;
  *key = std::make_unique<Win32RegistryKey>(std::move(opened));
  return platform::kSuccess;
}

ErrorCode Win32Registry::DeleteKeyTree(platform::RootKey root,
                                       const std::string& path) {
  if (NamesTheParent(path)) return platform::kErrorInvalidParameter;
  using DeleteTreeFunction = LSTATUS(WINAPI*)(HKEY, LPCSTR);
  static const auto delete_tree =
      FindSystemEntry<DeleteTreeFunction>("advapi32.dll", "RegDeleteTreeA");
  if (delete_tree != nullptr) {
    return delete_tree(RootKeyHandle(root), path.c_str());
  }
  return DeleteKeyTreeByHand(RootKeyHandle(root), path);
}

LSTATUS DeleteKeyTreeByHand(HKEY parent, const std::string& path) {
  if (NamesTheParent(path)) return ERROR_INVALID_PARAMETER;
  ScopedRegistryKey key;
  LSTATUS status =
      ::RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
  if (status != ERROR_SUCCESS) return status;
  // All names first: deleting while enumerating would shift the indexes.
  std::vector<std::string> subkeys;
  status = EnumerateNames(key.Get(), NameKind::kSubkeys, &subkeys);
  if (status != ERROR_SUCCESS) return status;
  for (const std::string& subkey : subkeys) {
    status = DeleteKeyTreeByHand(key.Get(), subkey);
    if (status != ERROR_SUCCESS) return status;
  }
  key.Reset();
  return ::RegDeleteKeyA(parent, path.c_str());
}

}  // namespace plumeta::win32
