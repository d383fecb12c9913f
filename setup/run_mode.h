// Whether a run of the setup program installs the printer or removes it.
#ifndef SETUP_RUN_MODE_H_
#define SETUP_RUN_MODE_H_

#include <optional>
#include <string>
#include <vector>

namespace plumeta::setup {

enum class RunMode { kInstall, kRemove };

// `arguments` without the program's own name. Only a first argument of
// exactly "1024" removes; further arguments never matter.
RunMode RunModeFromArguments(const std::vector<std::string>& arguments);

// The administrator's auto-save values an installation writes: "/autosave
// FOLDER" and "/template TEXT", anywhere on the command line, the switches in
// any letter case. Unset when not given.
struct AdministratorAutoSave {
  std::optional<std::string> folder;
  std::optional<std::string> file_name_template;
  bool operator==(const AdministratorAutoSave&) const = default;
};

// Raises PlumetaError when a switch has no value after it.
AdministratorAutoSave AutoSaveFromArguments(
    const std::vector<std::string>& arguments);

// "/log FILE", for unattended runs: the reason a run failed is appended to
// FILE instead of being shown in a box that nobody may be there to dismiss.
// Unset when not given or when no value follows the switch.
std::optional<std::string> ErrorLogFromArguments(
    const std::vector<std::string>& arguments);

}  // namespace plumeta::setup

#endif  // SETUP_RUN_MODE_H_
