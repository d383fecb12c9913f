// Host stand-in (Linux only). Where the box's spooler keeps its state in the
// machine hive, and the two reads the spooler and the port share.
#ifndef PLATFORM_HOST_PRINT_PRINT_REGISTRY_H_
#define PLATFORM_HOST_PRINT_PRINT_REGISTRY_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace plumeta::host {

inline constexpr char kPrintMonitorsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";

// The HKLM key at `path`, or null when it does not exist.
std::unique_ptr<platform::RegistryKey> OpenExistingMachineKey(
    platform::Registry& registry, const std::string& path);

// The names of the subkeys of the HKLM key at `path`; none when it is missing.
std::vector<std::string> MachineSubkeyNames(platform::Registry& registry,
                                            const std::string& path);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_PRINT_REGISTRY_H_
