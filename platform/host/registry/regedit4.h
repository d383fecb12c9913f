// Host stand-in (Linux only). The REGEDIT4 text form of a hive, as the box
// keeps it on disk:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]
//   @="default value"
//   "Text"="C:\\WINDOWS \"quoted\""
//   "Number"=dword:0000012c
//   "Path"=hex(2):25,00
//   "Bytes"=hex:01,02,03,\   <- long lists go on over lines ending in \ .
//     04,05
//
// REG_SZ is written as quoted text when its bytes are plain text and one
// terminating NUL; any other REG_SZ (an embedded NUL, CR or LF, no NUL at the
// end) is written as hex(1): so that it comes back byte for byte. REG_DWORD
// of four bytes is dword:, REG_BINARY hex:, every other type hex(N): with N in
// hexadecimal. Every key is written, also the empty ones.
#ifndef PLATFORM_HOST_REGISTRY_REGEDIT4_H_
#define PLATFORM_HOST_REGISTRY_REGEDIT4_H_

#include <string>
#include <string_view>

#include "platform/host/registry/hive.h"
#include "platform/registry.h"

namespace plumeta::host {

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string_view RootKeyName(platform::RootKey root);

std::string WriteRegedit4(const Hive& hive, std::string_view root_name);

// Reads a hive written for the root `root_name` into `hive` (keys and values
// add to what it holds). On failure `error` names the line and the fault.
bool ParseRegedit4(std::string_view text, std::string_view root_name,
                   Hive* hive, std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_REGISTRY_REGEDIT4_H_
