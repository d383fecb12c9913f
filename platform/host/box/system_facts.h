// Host stand-in (Linux only). The facts of the box's virtual Windows, kept in
// its system.ini (WriteSystemIni documents every key at the top of the file).
#ifndef PLATFORM_HOST_BOX_SYSTEM_FACTS_H_
#define PLATFORM_HOST_BOX_SYSTEM_FACTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/system.h"

namespace plumeta::host {

struct SystemFacts {
  // What GetVersionExA reports, unless it is to fail.
  platform::VersionInfo version{
      platform::PlatformId::kNt,          6, 1, 7601, "Service Pack 1",
      platform::ProductType::kWorkstation};
  bool version_fails = false;

  // The entry points "kernel32.dll" exports.
  bool has_is_wow64_process = true;
  bool has_wow64_disable_fs_redirection = true;
  bool has_wow64_revert_fs_redirection = true;
  // What IsWow64Process reports for the box's programs, which are all 32-bit:
  // true on a 64-bit Windows, whose system32 they then see redirected.
  bool is_wow64 = false;

  // GetWindowsDirectory: the folder WOW64's redirection works on, whatever
  // the environment's windir says.
  std::string windows_folder = "C:\\WINDOWS";
  std::string user_name = "User";
  std::string computer_name = "PLUMBOX";
  int screen_width = 1024;
  int screen_height = 768;

  // The user's locale: LOCALE_SDECIMAL, LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT.
  std::string decimal_separator = ".";
  std::string short_date = "M/d/yyyy";
  std::string long_time = "h:mm:ss tt";
  // The ANSI code page (GetACP): 1252, or 932, 936, 949, 950 for the
  // double-byte ones.
  int code_page = 1252;

  // The programs' environment, exactly as listed (no windir unless listed).
  std::vector<std::pair<std::string, std::string>> environment;

  // A variable by its name in any case, as GetEnvironmentVariableA finds it.
  std::optional<std::string> Environment(std::string_view name) const;
  void SetEnvironment(std::string_view name, std::string value);
};

std::string WriteSystemIni(const SystemFacts& facts);

// Reads system.ini; keys it does not give keep their SystemFacts defaults.
// Unknown sections or keys and unreadable values are faults, named in `error`.
bool ParseSystemIni(std::string_view text, SystemFacts* facts,
                    std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_SYSTEM_FACTS_H_
