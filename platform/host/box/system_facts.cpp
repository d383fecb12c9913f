#include "platform/host/box/system_facts.h"

#include <charconv>
#include <cstdio>

#include "common/text.h"
#include "platform/host/base/ini_file.h"

namespace plumeta::host {
namespace {

using platform::PlatformId;
using platform::ProductType;

constexpr char kIniHeader[] =
    R"(; The virtual Windows of a Plumeta box. The box's programs read it when they
; start; edit it to make them meet another Windows.
;
; [version]       what GetVersionExA reports
;   platform        NT, 9x or Win32s (dwPlatformId 2, 1, 0)
;   major, minor    dwMajorVersion, dwMinorVersion
;   build           dwBuildNumber, decimal or 0x hex (on 9x the high word
;                   repeats the version: 0x040A08AE is 4.10.2222)
;   service_pack    szCSDVersion; put it in double quotes to keep blanks: " A "
;   product_type    workstation, server, domain_controller, or unavailable
;                   (the extended OSVERSIONINFOEX cannot be read)
;   fails           yes: GetVersionExA fails
;
; [kernel32]      which entry points kernel32.dll exports (yes or no)
;   IsWow64Process, Wow64DisableWow64FsRedirection, Wow64RevertWow64FsRedirection
;
; [wow64]
;   is_wow64        what IsWow64Process reports for the box's programs (all of
;                   them 32-bit): yes on 64-bit Windows, where a program's
;                   %windir%\system32 is %windir%\SysWOW64 until it turns the
;                   redirection off
;
; [system]
;   windows_folder  GetWindowsDirectory (WOW64 redirects its system32)
;   user_name, computer_name
;
; [screen]
;   width, height   in pixels
;
; [locale]        the user's number and date formats
;   decimal_separator  LOCALE_SDECIMAL
;   short_date         LOCALE_SSHORTDATE, a GetDateFormatA picture
;   long_time          LOCALE_STIMEFORMAT, a GetTimeFormatA picture
;   code_page          the ANSI code page: 1252, or 932, 936, 949, 950
;
; [environment]   the programs' environment variables, NAME = value; names
;                 are found in any case. windir and the temporary folder
;                 (TMP, TEMP, USERPROFILE: GetTempPathA takes the first set,
;                 else windir) come from here.
)";

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::string_view PlatformName(PlatformId platform) {
  switch (platform) {
    case PlatformId::kWin32s:
      return "Win32s";
    case PlatformId::kWindows9x:
      return "9x";
    case PlatformId::kNt:
      break;
  }
  return "NT";
}

std::string_view ProductTypeName(ProductType type) {
  switch (type) {
    case ProductType::kWorkstation:
      return "workstation";
    case ProductType::kDomainController:
      return "domain_controller";
    case ProductType::kServer:
      return "server";
    case ProductType::kNotAvailable:
      break;
  }
  return "unavailable";
}

bool ParseNumber(std::string_view text, std::uint32_t* number) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *number, base);
  return error == std::errc() && stop == end && !text.empty();
}

bool ParseYesNo(std::string_view text, bool* value) {
  if (SameName(text, "yes") || SameName(text, "true") || text == "1") {
    *value = true;
    return true;
  }
  if (SameName(text, "no") || SameName(text, "false") || text == "0") {
    *value = false;
    return true;
  }
  return false;
}

// Applies one entry; false when its key or value is not understood.
bool Apply(const IniEntry& entry, SystemFacts* facts) {
  const std::string& key = entry.key;
  const std::string& value = entry.value;
  std::uint32_t number = 0;
  if (SameName(entry.section, "environment")) {
    facts->SetEnvironment(key, value);
    return true;
  }
  if (SameName(entry.section, "version")) {
    platform::VersionInfo& version = facts->version;
    if (SameName(key, "platform")) {
      if (SameName(value, "NT")) {
        version.platform = PlatformId::kNt;
      } else if (SameName(value, "9x")) {
        version.platform = PlatformId::kWindows9x;
      } else if (SameName(value, "Win32s")) {
        version.platform = PlatformId::kWin32s;
      } else {
        return false;
      }
      return true;
    }
    if (SameName(key, "major")) {
      return ParseNumber(value, &version.major);
    }
    if (SameName(key, "minor")) {
      return ParseNumber(value, &version.minor);
    }
    if (SameName(key, "build")) {
      return ParseNumber(value, &version.build);
    }
    if (SameName(key, "service_pack")) {
      version.service_pack = value;
      return true;
    }
    if (SameName(key, "product_type")) {
      for (ProductType type :
           {ProductType::kWorkstation, ProductType::kServer,
            ProductType::kDomainController, ProductType::kNotAvailable}) {
        if (SameName(value, ProductTypeName(type))) {
          version.product_type = type;
          return true;
        }
      }
      return false;
    }
    if (SameName(key, "fails")) return ParseYesNo(value, &facts->version_fails);
    return false;
  }
  if (SameName(entry.section, "kernel32")) {
    if (SameName(key, "IsWow64Process")) {
      return ParseYesNo(value, &facts->has_is_wow64_process);
    }
    if (SameName(key, "Wow64DisableWow64FsRedirection")) {
      return ParseYesNo(value, &facts->has_wow64_disable_fs_redirection);
    }
    if (SameName(key, "Wow64RevertWow64FsRedirection")) {
      return ParseYesNo(value, &facts->has_wow64_revert_fs_redirection);
    }
    return false;
  }
  if (SameName(entry.section, "wow64")) {
    return SameName(key, "is_wow64") && ParseYesNo(value, &facts->is_wow64);
  }
  if (SameName(entry.section, "system")) {
    if (SameName(key, "windows_folder")) {
      facts->windows_folder = value;
    } else if (SameName(key, "user_name")) {
      facts->user_name = value;
    } else if (SameName(key, "computer_name")) {
      facts->computer_name = value;
    } else {
      return false;
    }
    return true;
  }
  if (SameName(entry.section, "locale")) {
    if (SameName(key, "decimal_separator") && !value.empty()) {
      facts->decimal_separator = value;
    } else if (SameName(key, "short_date") && !value.empty()) {
      facts->short_date = value;
    } else if (SameName(key, "long_time") && !value.empty()) {
      facts->long_time = value;
    } else if (SameName(key, "code_page") && !value.empty() &&
               value.find_first_not_of("0123456789") == std::string::npos &&
               value.size() <= 5) {
      facts->code_page = std::stoi(value);
    } else {
      return false;
    }
    return true;
  }
  if (SameName(entry.section, "screen")) {
    bool fits = ParseNumber(value, &number) && number > 0 && number < 100000;
    if (SameName(key, "width") && fits) {
      facts->screen_width = static_cast<int>(number);
      return true;
    }
    if (SameName(key, "height") && fits) {
      facts->screen_height = static_cast<int>(number);
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace

std::optional<std::string> SystemFacts::Environment(
    std::string_view name) const {
  for (const auto& [variable, value] : environment) {
    if (SameName(variable, name)) return value;
  }
  return std::nullopt;
}

void SystemFacts::SetEnvironment(std::string_view name, std::string value) {
  for (auto& [variable, old_value] : environment) {
    if (SameName(variable, name)) {
      old_value = std::move(value);
      return;
    }
  }
  environment.emplace_back(std::string(name), std::move(value));
}

std::string WriteSystemIni(const SystemFacts& facts) {
  const platform::VersionInfo& version = facts.version;
  char build[16];
  std::snprintf(build, sizeof build,
                version.platform == PlatformId::kWindows9x ? "0x%08X" : "%u",
                version.build);
  std::string ini = kIniHeader;
  ini += "\n[version]\n";
  ini += "platform = " + std::string(PlatformName(version.platform)) + "\n";
  ini += "major = " + std::to_string(version.major) + "\n";
  ini += "minor = " + std::to_string(version.minor) + "\n";
  ini += "build = " + std::string(build) + "\n";
  ini += "service_pack = " + IniValue(version.service_pack) + "\n";
  ini +=
      "product_type = " + std::string(ProductTypeName(version.product_type)) +
      "\n";
  ini += "fails = " + YesNo(facts.version_fails) + "\n";
  ini += "\n[kernel32]\n";
  ini += "IsWow64Process = " + YesNo(facts.has_is_wow64_process) + "\n";
  ini += "Wow64DisableWow64FsRedirection = " +
         YesNo(facts.has_wow64_disable_fs_redirection) + "\n";
  ini += "Wow64RevertWow64FsRedirection = " +
         YesNo(facts.has_wow64_revert_fs_redirection) + "\n";
  ini += "\n[wow64]\n";
  ini += "is_wow64 = " + YesNo(facts.is_wow64) + "\n";
  ini += "\n[system]\n";
  ini += "windows_folder = " + IniValue(facts.windows_folder) + "\n";
  ini += "user_name = " + IniValue(facts.user_name) + "\n";
  ini += "computer_name = " + IniValue(facts.computer_name) + "\n";
  ini += "\n[screen]\n";
  ini += "width = " + std::to_string(facts.screen_width) + "\n";
  ini += "height = " + std::to_string(facts.screen_height) + "\n";
  ini += "\n[locale]\n";
  ini += "decimal_separator = " + IniValue(facts.decimal_separator) + "\n";
  ini += "short_date = " + IniValue(facts.short_date) + "\n";
  ini += "long_time = " + IniValue(facts.long_time) + "\n";
  ini += "code_page = " + std::to_string(facts.code_page) + "\n";
  ini += "\n[environment]\n";
  for (const auto& [name, value] : facts.environment) {
    ini += name + " = " + IniValue(value) + "\n";
  }
  return ini;
}

bool ParseSystemIni(std::string_view text, SystemFacts* facts,
                    std::string* error) {
  std::vector<IniEntry> entries;
  if (!ParseIni(text, &entries, error)) return false;
  for (const IniEntry& entry : entries) {
    if (!Apply(entry, facts)) {
      *error = "line " + std::to_string(entry.line) + ": [" + entry.section +
               "] " + entry.key + " = " + entry.value + " is not understood";
      return false;
    }
  }
  return true;
}

}  // namespace plumeta::host
