// Host stand-in (Linux only). The box's processes are the host processes of
// box programs, each named as Windows would name it ("plumeta.exe" for the
// host tray monitor). A box program registers itself with one file,
//   <box>/processes/<pid>     "exe=plumeta.exe" and "start=<start time>"
// written when it creates its platform and removed when that goes. A file
// whose process has ended, or whose pid now belongs to another process (its
// start time differs), is stale: ignored, and removed by the next snapshot.
//
// Terminating sends SIGTERM and, when the process has not ended after a
// second, SIGKILL. Waiting polls until the process has ended (a zombie
// counts as ended: only its parent can reap it) or the time is up.
#ifndef PLATFORM_HOST_KERNEL_PROCESSES_H_
#define PLATFORM_HOST_KERNEL_PROCESSES_H_

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/processes.h"

namespace plumeta::host {

// The Linux folder the registrations of the box in `box_folder` live in.
std::string ProcessesFolder(const std::string& box_folder);

// Registers the calling process as `exe_name` while it lives.
class BoxProcessRegistration {
 public:
  BoxProcessRegistration(const std::string& box_folder,
                         const std::string& exe_name);
  ~BoxProcessRegistration();
  BoxProcessRegistration(const BoxProcessRegistration&) = delete;
  BoxProcessRegistration& operator=(const BoxProcessRegistration&) = delete;

 private:
  std::string file_;
};

// The start time of a host process (field 22 of /proc/<pid>/stat), or
// nullopt when it has ended or is a zombie.
std::optional<unsigned long long> LiveProcessStart(pid_t pid);

class HostProcesses : public platform::Processes {
 public:
  // With `register_as`, the calling process is one of the box's processes
  // under that name for as long as this object lives.
  explicit HostProcesses(std::string box_folder,
                         const std::string& register_as = "");

  platform::ErrorCode Snapshot(
      std::vector<platform::ProcessEntry>* entries) override;
  platform::ErrorCode Open(
      platform::ProcessId id,
      std::unique_ptr<platform::Process>* process) override;

 private:
  std::string box_folder_;
  std::unique_ptr<BoxProcessRegistration> registration_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_PROCESSES_H_
