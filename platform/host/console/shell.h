// Host stand-in (Linux only). The box's shell. ShellExecuteA opens nothing:
// it writes the console event
//   shell<TAB>operation<TAB>file<TAB>parameters<TAB>directory<TAB>show mode
// (the show mode as its SW_ number) and reports success. The shell's file
// operation copies for real inside the box, as SHFileOperationA's FO_COPY
// does into one folder: a missing destination folder is created, existing
// files are overwritten, and when a source is missing nothing is copied
// and the answer is 0x402. The other functions are not supported (0x402).
#ifndef PLATFORM_HOST_CONSOLE_SHELL_H_
#define PLATFORM_HOST_CONSOLE_SHELL_H_

#include <iostream>
#include <memory>

#include "platform/host/box/box_process.h"
#include "platform/shell.h"

namespace plumeta::host {

// SHFileOperationA's answer for a source that cannot be found.
inline constexpr int kShellFileOperationFailed = 0x402;

class HostShell : public platform::Shell {
 public:
  explicit HostShell(std::shared_ptr<BoxProcess> process,
                     std::ostream& events = std::cout);

  std::intptr_t Execute(const platform::ShellExecuteRequest& request) override;
  int RunFileOperation(const platform::FileOperation& operation) override;
  bool SetCurrentFolder(const std::string& path) override;

 private:
  std::shared_ptr<BoxProcess> process_;
  std::ostream& events_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_SHELL_H_
