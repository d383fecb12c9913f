// The registry: keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, and their
// values with Windows' types. Failures come back as Windows error codes.
#ifndef PLATFORM_REGISTRY_H_
#define PLATFORM_REGISTRY_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error_codes.h"

namespace plumeta::platform {

enum class RootKey { kLocalMachine, kCurrentUser };

// Windows' REG_* numbers.
enum class ValueType : std::uint32_t {
  kNone = 0,
  kString = 1,        // REG_SZ
  kExpandString = 2,  // REG_EXPAND_SZ
  kBinary = 3,        // REG_BINARY
  kDword = 4,         // REG_DWORD
  kMultiString = 7,   // REG_MULTI_SZ
};

// A value as the registry keeps it: its type and its bytes. A string written
// through WriteString is stored with its terminating NUL, as RegSetValueExA
// stores it.
struct RegistryValue {
  ValueType type = ValueType::kNone;
  std::string data;

  // The text of a string value: its bytes up to the first NUL.
  std::string Text() const;
  // The number of a REG_DWORD (little-endian); 0 when there are too few bytes.
  std::uint32_t Dword() const;

  static RegistryValue String(const std::string& text);
  static RegistryValue ExpandString(const std::string& text);
  static RegistryValue FromDword(std::uint32_t number);
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // kErrorFileNotFound when the value does not exist.
  virtual ErrorCode ReadValue(const std::string& name,
                              RegistryValue* value) = 0;
  virtual ErrorCode WriteValue(const std::string& name,
                               const RegistryValue& value) = 0;
  virtual ErrorCode DeleteValue(const std::string& name) = 0;
  // Names of the values and of the subkeys, in the registry's own order.
  virtual ErrorCode ValueNames(std::vector<std::string>* names) = 0;
  virtual ErrorCode SubkeyNames(std::vector<std::string>* names) = 0;

  ErrorCode WriteString(const std::string& name, const std::string& text) {
    return WriteValue(name, RegistryValue::String(text));
  }
  ErrorCode WriteDword(const std::string& name, std::uint32_t number) {
    return WriteValue(name, RegistryValue::FromDword(number));
  }
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `path` (backslash-separated, no leading backslash) under `root` with
  // full access; with `create`, missing keys on the way are created.
  virtual ErrorCode OpenKey(RootKey root, const std::string& path, bool create,
                            std::unique_ptr<RegistryKey>* key) = 0;
  // Opens an existing key to read only, as a user without administrator
  // rights may under HKEY_LOCAL_MACHINE; writes through it fail. Where keys
  // carry no access rights (the host box) this is OpenKey.
  virtual ErrorCode OpenKeyToRead(RootKey root, const std::string& path,
                                  std::unique_ptr<RegistryKey>* key) {
    return OpenKey(root, path, /*create=*/false, key);
  }
  // Deletes the key with all its subkeys and values.
  virtual ErrorCode DeleteKeyTree(RootKey root, const std::string& path) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_REGISTRY_H_
