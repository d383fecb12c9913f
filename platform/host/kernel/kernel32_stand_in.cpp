#include "platform/host/kernel/kernel32_stand_in.h"

#include "common/text.h"

namespace plumeta::host {
namespace {

// One byte per entry: their addresses are the entry points.
char entry_tokens[3];

constexpr Kernel32Entry kEntries[] = {
    Kernel32Entry::kIsWow64Process,
    Kernel32Entry::kWow64DisableWow64FsRedirection,
    Kernel32Entry::kWow64RevertWow64FsRedirection,
};

}  // namespace

bool IsKernel32Name(std::string_view name) {
  std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  return SameName(name, "kernel32") || SameName(name, "kernel32.dll");
}

std::optional<Kernel32Entry> FindKernel32Entry(std::string_view name,
                                               const SystemFacts& facts) {
  if (name == "IsWow64Process" && facts.has_is_wow64_process) {
    return Kernel32Entry::kIsWow64Process;
  }
  if (name == "Wow64DisableWow64FsRedirection" &&
      facts.has_wow64_disable_fs_redirection) {
    return Kernel32Entry::kWow64DisableWow64FsRedirection;
  }
  if (name == "Wow64RevertWow64FsRedirection" &&
      facts.has_wow64_revert_fs_redirection) {
    return Kernel32Entry::kWow64RevertWow64FsRedirection;
  }
  return std::nullopt;
}

platform::EntryPoint EntryPointOf(Kernel32Entry entry) {
  return &entry_tokens[static_cast<int>(entry)];
}

std::optional<Kernel32Entry> Kernel32EntryAt(platform::EntryPoint entry_point) {
  for (Kernel32Entry entry : kEntries) {
    if (EntryPointOf(entry) == entry_point) return entry;
  }
  return std::nullopt;
}

}  // namespace plumeta::host
