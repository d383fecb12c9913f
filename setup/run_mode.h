// Whether a run of the setup program installs the printer or removes it.
#ifndef SETUP_RUN_MODE_H_
#define SETUP_RUN_MODE_H_

#include <string>
#include <vector>

namespace plumeta::setup {

enum class RunMode { kInstall, kRemove };

// `arguments` without the program's own name. Only a first argument of
// exactly "1024" removes; further arguments never matter.
RunMode RunModeFromArguments(const std::vector<std::string>& arguments);

}  // namespace plumeta::setup

#endif  // SETUP_RUN_MODE_H_
