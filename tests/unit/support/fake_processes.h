// Processes a test lists by id and executable name. Opening, terminating and
// waiting answer as each process's script says.
#ifndef TESTS_UNIT_SUPPORT_FAKE_PROCESSES_H_
#define TESTS_UNIT_SUPPORT_FAKE_PROCESSES_H_

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeProcesses : public platform::Processes {
 public:
  struct Script {
    platform::ErrorCode open_error = platform::kSuccess;
    bool ends_when_terminated = true;
    platform::WaitResult wait_result = platform::WaitResult::kSignalled;
    platform::ErrorCode wait_error = platform::kSuccess;
  };

  std::vector<platform::ProcessEntry> running;
  std::map<platform::ProcessId, Script> scripts;  // default Script otherwise
  platform::ErrorCode snapshot_error = platform::kSuccess;
  // Called after every snapshot: lets a process end between two look-ups.
  std::function<void(FakeProcesses&)> after_snapshot;
  CallLog* log = nullptr;

  platform::ErrorCode Snapshot(
      std::vector<platform::ProcessEntry>* entries) override {
    Record(log, "processes snapshot");
    if (snapshot_error != platform::kSuccess) return snapshot_error;
    *entries = running;
    if (after_snapshot) after_snapshot(*this);
    return platform::kSuccess;
  }

  platform::ErrorCode Open(
      platform::ProcessId id,
      std::unique_ptr<platform::Process>* process) override {
    Record(log, "processes open " + std::to_string(id));
    const Script script = ScriptOf(id);
    if (script.open_error != platform::kSuccess) return script.open_error;
    if (!IsRunning(id)) return platform::kErrorInvalidParameter;
    *process = std::make_unique<OpenedProcess>(*this, id);
    return platform::kSuccess;
  }

  bool IsRunning(platform::ProcessId id) const {
    return std::any_of(running.begin(), running.end(),
                       [id](const auto& entry) { return entry.id == id; });
  }
  void End(platform::ProcessId id) {
    running.erase(std::remove_if(running.begin(), running.end(),
                                 [id](const auto& e) { return e.id == id; }),
                  running.end());
  }
  Script ScriptOf(platform::ProcessId id) const {
    auto it = scripts.find(id);
    return it == scripts.end() ? Script() : it->second;
  }

 private:
  class OpenedProcess : public platform::Process {
   public:
    OpenedProcess(FakeProcesses& processes, platform::ProcessId id)
        : processes_(processes), id_(id) {}
    ~OpenedProcess() override {
      Record(processes_.log, "process close " + std::to_string(id_));
    }
    platform::ErrorCode Terminate(std::uint32_t exit_code) override {
      Record(processes_.log, "process terminate " + std::to_string(id_) + " " +
                                 std::to_string(exit_code));
      if (processes_.ScriptOf(id_).ends_when_terminated) processes_.End(id_);
      return platform::kSuccess;
    }
    platform::WaitResult Wait(std::uint32_t timeout_ms,
                              platform::ErrorCode* error) override {
      Record(processes_.log, "process wait " + std::to_string(id_) + " " +
                                 std::to_string(timeout_ms));
      const Script script = processes_.ScriptOf(id_);
      *error = script.wait_error;
      return script.wait_result;
    }

   private:
    FakeProcesses& processes_;
    platform::ProcessId id_;
  };
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_PROCESSES_H_
