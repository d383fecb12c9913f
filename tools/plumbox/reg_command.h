// `plumbox reg query|add|delete ...`: the box's registry with the arguments
// and the output of Windows' reg.exe (with Linux line ends).
#ifndef TOOLS_PLUMBOX_REG_COMMAND_H_
#define TOOLS_PLUMBOX_REG_COMMAND_H_

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/host/registry/hive_store.h"

namespace plumeta::plumbox {

// Where an operation without /f asks before it overwrites or deletes.
struct Confirmation {
  bool ask = false;  // standard input is a terminal
  std::istream* answers = nullptr;
};

extern const char kRegUsage[];

// `arguments` follow "reg". Returns reg.exe's exit status: 0 done, 1 failed
// (syntax errors as well).
int RunReg(const std::vector<std::string>& arguments, host::HiveStore& store,
           const Confirmation& confirmation, std::ostream& out,
           std::ostream& err);

}  // namespace plumeta::plumbox

#endif  // TOOLS_PLUMBOX_REG_COMMAND_H_
