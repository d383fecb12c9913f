// Other processes: a snapshot of what runs, and stopping one of them.
#ifndef PLATFORM_PROCESSES_H_
#define PLATFORM_PROCESSES_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error_codes.h"

namespace plumeta::platform {

using ProcessId = std::uint32_t;

// One entry of a toolhelp snapshot (PROCESSENTRY32).
struct ProcessEntry {
  ProcessId id = 0;
  std::string exe_name;  // szExeFile: the bare file name, its case on disk
  bool operator==(const ProcessEntry&) const = default;
};

enum class WaitResult { kSignalled, kTimedOut, kFailed };

// A process opened for termination and waiting (PROCESS_TERMINATE |
// SYNCHRONIZE); the handle is closed when this goes.
class Process {
 public:
  virtual ~Process() = default;
  // TerminateProcess: kSuccess or the system's code.
  virtual ErrorCode Terminate(std::uint32_t exit_code) = 0;
  // WaitForSingleObject; on kFailed `error` receives the system's code.
  virtual WaitResult Wait(std::uint32_t timeout_ms, ErrorCode* error) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateToolhelp32Snapshot and the Process32First/Next walk; the system's
  // code when no snapshot could be taken.
  virtual ErrorCode Snapshot(std::vector<ProcessEntry>* entries) = 0;
  // OpenProcess; for an id that names no process Windows answers
  // kErrorInvalidParameter.
  virtual ErrorCode Open(ProcessId id, std::unique_ptr<Process>* process) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_PROCESSES_H_
