// Host stand-in (Linux only). The stand-in "kernel32.dll": its WOW64 entry
// points are tokens that the host Libraries hands out and the host System
// recognises when a program calls through them.
#ifndef PLATFORM_HOST_KERNEL_KERNEL32_STAND_IN_H_
#define PLATFORM_HOST_KERNEL_KERNEL32_STAND_IN_H_

#include <optional>
#include <string_view>

#include "platform/host/box/system_facts.h"
#include "platform/system.h"

namespace plumeta::host {

enum class Kernel32Entry {
  kIsWow64Process,
  kWow64DisableWow64FsRedirection,
  kWow64RevertWow64FsRedirection,
};

// True when `name` names kernel32.dll as LoadLibraryA takes it: any case,
// with or without ".dll", with or without a folder.
bool IsKernel32Name(std::string_view name);

// The entry point called `name` (exact case, as GetProcAddress compares)
// where system.ini says kernel32 exports it.
std::optional<Kernel32Entry> FindKernel32Entry(std::string_view name,
                                               const SystemFacts& facts);

platform::EntryPoint EntryPointOf(Kernel32Entry entry);
// Which entry `entry_point` is; nullopt for any other address.
std::optional<Kernel32Entry> Kernel32EntryAt(platform::EntryPoint entry_point);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_KERNEL32_STAND_IN_H_
