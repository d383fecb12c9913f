#include "common/os_edition.h"

#include <array>
#include <memory>

#include "common/text.h"

namespace plumeta {
namespace {

using platform::PlatformId;
using platform::ProductType;
using platform::VersionInfo;

constexpr int kFallThroughEdition = 10;

// When GetVersionExA fails the platform counts as NT 0.0.
VersionInfo VersionOrNtZero(platform::System& system) {
  if (auto version = system.Version()) return *version;
  return VersionInfo{PlatformId::kNt, 0, 0, 0, "", ProductType::kNotAvailable};
}

bool HasLetterFirstOrSecond(const std::string& text, char letter) {
  return (text.size() > 0 && text[0] == letter) ||
         (text.size() > 1 && text[1] == letter);
}

// Without the extended version information, the product type stored by setup
// decides: "WinNT" marks a workstation, anything else a server.
bool ProductOptionsSayServer(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  std::string product_type;
  if (registry.OpenKeyToRead(
          platform::RootKey::kLocalMachine,
          "SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
          &key) == platform::kSuccess) {
    platform::RegistryValue value;
    if (key->ReadValue("ProductType", &value) == platform::kSuccess) {
      product_type = value.Text();
    }
  }
  return AsciiUpper(product_type).find("WINNT") == std::string::npos;
}

int Win9xEdition(const VersionInfo& version) {
  if (version.major != 4) return kFallThroughEdition;
  const std::uint32_t minor = (version.build >> 16) & 0xFF;
  const std::string& sp = version.service_pack;
  if (minor < 10) return HasLetterFirstOrSecond(sp, 'C') ? 2 : 1;
  if (minor < 90) return HasLetterFirstOrSecond(sp, 'A') ? 4 : 3;
  if (minor < 100) return 5;
  return kFallThroughEdition;
}

int NtEdition(const VersionInfo& version, bool server) {
  const std::uint32_t major = version.major;
  const std::uint32_t minor = version.minor;
  if (major <= 4) return server ? 7 : 6;
  if (major == 5 && minor == 0) return server ? 9 : 8;
  if (major == 5 && minor == 1) return server ? 11 : 10;
  if (major == 5 && minor == 2 && server) return 12;
  if (major == 6 && minor == 0) return server ? 14 : 13;
  if (major == 6 && minor == 1) return server ? 16 : 15;
  if (major == 6 && minor == 2) return server ? 18 : 17;
  if (major == 6 && minor == 3 && !server) return 19;
  return kFallThroughEdition;
}

}  // namespace

int OsEdition(platform::System& system, platform::Registry& registry) {
  const VersionInfo version = VersionOrNtZero(system);
  switch (version.platform) {
    case PlatformId::kWin32s:
      return 0;
    case PlatformId::kWindows9x:
      return Win9xEdition(version);
    case PlatformId::kNt: {
      const bool server =
          version.product_type == ProductType::kNotAvailable
              ? ProductOptionsSayServer(registry)
              : version.product_type != ProductType::kWorkstation;
      return NtEdition(version, server);
    }
  }
  return kFallThroughEdition;
}

std::string OsName(int edition) {
  static constexpr std::array<const char*, 17> kNames = {
      "Microsoft Windows 3.11",
      "Microsoft Windows 95",
      "Microsoft Windows 95 OSR2",
      "Microsoft Windows 98",
      "Microsoft Windows 98 Second Edition",
      "Microsoft Windows Me",
      "Microsoft Windows NT",
      "Microsoft Windows NT Server",
      "Microsoft Windows 2000",
      "Microsoft Windows 2000 Server",
      "Microsoft Windows XP",
      "Microsoft Windows XP Server",
      "Microsoft Windows Server 2003",
      "Microsoft Windows Vista",
      "Microsoft Windows Server 2008",
      "Microsoft Windows 7",
      "Microsoft Windows Server 2008 R2",
  };
  if (edition < 0 || edition >= static_cast<int>(kNames.size())) return "";
  return kNames[edition];
}

SystemDetails ReadSystemDetails(platform::System& system) {
  const VersionInfo version = VersionOrNtZero(system);
  SystemDetails details;
  switch (version.platform) {
    case PlatformId::kNt:
      details.operating_system = "Windows NT";
      break;
    case PlatformId::kWindows9x:
      details.operating_system = (version.major > 4 || version.minor > 0)
                                     ? "Windows 98"
                                     : "Windows 95";
      break;
    case PlatformId::kWin32s:
      details.operating_system = "Windows 3.1";
      break;
  }
  details.version =
      std::to_string(version.major) + "." + std::to_string(version.minor);
  return details;
}

OsFamily DecideOsFamily(platform::System& system) {
  const SystemDetails details = ReadSystemDetails(system);
  if (details.operating_system != "Windows NT") return OsFamily::kWin9x;
  return VersionOrNtZero(system).major >= 5 ? OsFamily::kNtModern
                                            : OsFamily::kNt4;
}

bool StartsMonitorThroughLogOnTask(platform::System& system) {
  const std::optional<platform::VersionInfo> version = system.Version();
  return version && version->platform == platform::PlatformId::kNt &&
         version->major >= 6;
}

std::string WindowsPrefix(platform::System& system) {
  return system.Environment("windir").value_or("") + "\\";
}

}  // namespace plumeta
