#include "setup/run_mode.h"

#include "common/errors.h"
#include "common/text.h"

namespace plumeta::setup {

RunMode RunModeFromArguments(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments.front() == "1024")
    return RunMode::kRemove;
  return RunMode::kInstall;
}

AdministratorAutoSave AutoSaveFromArguments(
    const std::vector<std::string>& arguments) {
  AdministratorAutoSave values;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::optional<std::string>* value = nullptr;
    if (SameName(arguments[i], "/autosave")) value = &values.folder;
    if (SameName(arguments[i], "/template")) value = &values.file_name_template;
    if (value == nullptr) continue;
    if (i + 1 >= arguments.size()) {
      throw PlumetaError("The value after " + arguments[i] +
                         " is missing: nothing was installed");
    }
    *value = arguments[++i];
  }
  return values;
}

std::optional<std::string> ErrorLogFromArguments(
    const std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (SameName(arguments[i], "/log")) return arguments[i + 1];
  }
  return std::nullopt;
}

}  // namespace plumeta::setup
