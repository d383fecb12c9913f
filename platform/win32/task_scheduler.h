// platform/win32: Win32 calls only, in their ANSI ("A") forms. Scheduled tasks
// through the Task Scheduler 2.0 COM interfaces, with ole32 and oleaut32
// loaded at run time: Windows 95 to XP have neither the interfaces nor, on
// the first Windows 95, always those libraries.
#ifndef PLATFORM_WIN32_TASK_SCHEDULER_H_
#define PLATFORM_WIN32_TASK_SCHEDULER_H_

#include "platform/task_scheduler.h"

namespace plumeta::win32 {

class Win32TaskScheduler : public platform::TaskScheduler {
 public:
  platform::ErrorCode RegisterTask(const std::string& name,
                                   const std::string& xml_definition) override;
  platform::ErrorCode DeleteTask(const std::string& name) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_TASK_SCHEDULER_H_
