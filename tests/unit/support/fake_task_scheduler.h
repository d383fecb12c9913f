// Scheduled tasks in memory, by name with their definitions; a test can make
// every call fail with a code. With a `log`: "task register <name>", "task
// delete <name>".
#ifndef TESTS_UNIT_SUPPORT_FAKE_TASK_SCHEDULER_H_
#define TESTS_UNIT_SUPPORT_FAKE_TASK_SCHEDULER_H_

#include <map>
#include <string>

#include "platform/task_scheduler.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeTaskScheduler : public platform::TaskScheduler {
 public:
  std::map<std::string, std::string> tasks;
  platform::ErrorCode failure = platform::kSuccess;
  CallLog* log = nullptr;

  platform::ErrorCode RegisterTask(const std::string& name,
                                   const std::string& xml_definition) override {
    Record(log, "task register " + name);
    if (failure != platform::kSuccess) return failure;
    tasks[name] = xml_definition;
    return platform::kSuccess;
  }
  platform::ErrorCode DeleteTask(const std::string& name) override {
    Record(log, "task delete " + name);
    if (failure != platform::kSuccess) return failure;
    tasks.erase(name);
    return platform::kSuccess;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_TASK_SCHEDULER_H_
