// Tasks of the Task Scheduler (its 2.0 interfaces, Windows Vista and later),
// each by name in the root folder and given whole as its XML definition.
#ifndef PLATFORM_TASK_SCHEDULER_H_
#define PLATFORM_TASK_SCHEDULER_H_

#include <string>

#include "platform/error_codes.h"

namespace plumeta::platform {

class TaskScheduler {
 public:
  virtual ~TaskScheduler() = default;
  // Registers the task `name`, replacing one of that name; the definition
  // names who it runs as. kSuccess, or the system's code (ERROR_NOT_SUPPORTED
  // where there is no Task Scheduler 2.0).
  virtual ErrorCode RegisterTask(const std::string& name,
                                 const std::string& xml_definition) = 0;
  // Deletes the task; kSuccess also when there is none of that name.
  virtual ErrorCode DeleteTask(const std::string& name) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_TASK_SCHEDULER_H_
