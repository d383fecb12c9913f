#include "setup/run_mode.h"

namespace plumeta::setup {

RunMode RunModeFromArguments(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments.front() == "1024")
    return RunMode::kRemove;
  return RunMode::kInstall;
}

}  // namespace plumeta::setup
