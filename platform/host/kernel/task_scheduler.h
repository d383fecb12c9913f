// Host stand-in (Linux only). The box's Task Scheduler keeps each registered
// task as Windows does, its definition in a file named for it in the system
// folder's "Tasks" (never redirected: the service is a native program), so
// that tests can read it. Boxes before Windows Vista have no Task Scheduler
// 2.0.
#ifndef PLATFORM_HOST_KERNEL_TASK_SCHEDULER_H_
#define PLATFORM_HOST_KERNEL_TASK_SCHEDULER_H_

#include <memory>
#include <optional>
#include <string>

#include "platform/host/box/box_process.h"
#include "platform/task_scheduler.h"

namespace plumeta::host {

class HostTaskScheduler : public platform::TaskScheduler {
 public:
  explicit HostTaskScheduler(std::shared_ptr<BoxProcess> process);

  platform::ErrorCode RegisterTask(const std::string& name,
                                   const std::string& xml_definition) override;
  platform::ErrorCode DeleteTask(const std::string& name) override;

 private:
  // The task's file; nullopt where the box has no Task Scheduler 2.0.
  std::optional<std::string> TaskFile(const std::string& name) const;

  std::shared_ptr<BoxProcess> process_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_TASK_SCHEDULER_H_
