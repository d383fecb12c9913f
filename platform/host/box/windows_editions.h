// Host stand-in (Linux only). The Windows versions a box can play, by the
// names `plumbox init --windows` takes, with what GetVersionExA and the rest
// of the system report on each.
//
// 10 reports 6.2.9200, as Windows 10 does to a program whose manifest does
// not declare it (ours does not); the registry's CurrentVersion key tells the
// real 10.0.19045.
#ifndef PLATFORM_HOST_BOX_WINDOWS_EDITIONS_H_
#define PLATFORM_HOST_BOX_WINDOWS_EDITIONS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/box/system_facts.h"

namespace plumeta::host {

inline constexpr char kDefaultWindows[] = "7";

struct WindowsEdition {
  std::string name;          // "7x64"
  std::string product_name;  // "Windows 7 Professional"
  // The version as the registry's CurrentVersion key tells it ("6.1"), and
  // its build ("7601"); on 10 these differ from what GetVersionExA says.
  std::string registry_version;
  std::string registry_build;
  SystemFacts facts;

  bool is_nt() const {
    return facts.version.platform == platform::PlatformId::kNt;
  }
  bool is_64_bit() const { return facts.is_wow64; }
};

// "95", "98", "98se", "me", "nt4", "nt4server", "2000", "xp", "2003",
// "vista", "7", "7x64", "8", "10".
std::vector<std::string> WindowsNames();
// The edition by its name (any case); nullopt for names not in the list.
std::optional<WindowsEdition> FindWindowsEdition(std::string_view name);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_WINDOWS_EDITIONS_H_
