// Starting programs from a wine test and watching them: run to the end with
// the output captured, or start one that keeps running.
#ifndef TESTS_WINE_SUPPORT_PROCESS_RUNNER_H_
#define TESTS_WINE_SUPPORT_PROCESS_RUNNER_H_

#include <optional>
#include <string>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

namespace plumeta::wine_test {

struct Finished {
  DWORD exit_code = 0;
  std::string output;  // standard output and standard error
  DWORD elapsed_ms = 0;
};

// Runs `command_line` and waits up to `timeout_ms` for it to end; nullopt
// when it could not be started or did not end in time (it is then ended).
std::optional<Finished> RunToEnd(const std::string& command_line,
                                 DWORD timeout_ms);

// Starts `command_line` and returns its process handle (invalid on failure).
win32::ScopedKernelHandle StartProcess(const std::string& command_line,
                                       DWORD* process_id);

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_PROCESS_RUNNER_H_
