// Registry values as reg.exe shows them and reads them from its /t and /d.
#ifndef TOOLS_PLUMBOX_REG_VALUES_H_
#define TOOLS_PLUMBOX_REG_VALUES_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace plumeta::plumbox {

// "REG_SZ", "REG_DWORD", ...
std::string TypeName(platform::ValueType type);
// The data as `reg query` shows it: strings as text, REG_DWORD as 0x12c,
// REG_MULTI_SZ joined by \0, everything else as upper-case hex digits.
std::string DisplayData(const platform::RegistryValue& value);

// The types `reg add /t` takes here: REG_SZ, REG_EXPAND_SZ, REG_DWORD,
// REG_BINARY (any case).
std::optional<platform::ValueType> ParseTypeName(std::string_view name);
// `data` as `reg add /d` reads it for `type`: REG_DWORD in decimal or 0x hex
// up to 0xffffffff, REG_BINARY as hex digits (an odd count puts the first
// digit alone in the first byte). nullopt with `why` when it cannot.
std::optional<platform::RegistryValue> ParseData(platform::ValueType type,
                                                 std::string_view data,
                                                 std::string* why);

}  // namespace plumeta::plumbox

#endif  // TOOLS_PLUMBOX_REG_VALUES_H_
