// Host stand-in (Linux only). The box's "Redirected Port" port monitor. Its
// ports are the keys under
//
//   HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Redirected Port
//       \Ports\<port>   "Command", "Arguments" (REG_SZ), "Delay" (REG_DWORD)
//
// and for each job sent to one of them it runs the Windows program named by
// "Command" (a box path) with "Arguments" split as Windows splits a command
// line, the job's data on its standard input and PLUMETA_BOX naming the box.
// The job stays in the queue while the command runs: Printing once the port
// has taken it, after it waited its turn (one job at a time per port) and
// "Delay" milliseconds more, so that a program polling the queue sees the
// job before its output appears. When the command has ended the job leaves
// the queue, whatever happened; so does a job the port could not print.
// The other values of the key are written by setup and not used here.
#ifndef PLATFORM_HOST_PRINT_REDIRECTED_PORT_H_
#define PLATFORM_HOST_PRINT_REDIRECTED_PORT_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/host/box/box_paths.h"
#include "platform/registry.h"

namespace plumeta::host {

inline constexpr char kRedirectedPortMonitor[] = "Redirected Port";

// JOB_STATUS_* bits the box's spooler shows.
inline constexpr std::uint32_t kJobStatusSpooling = 0x08;
inline constexpr std::uint32_t kJobStatusPrinting = 0x10;

// The longest "Delay" the port honours.
inline constexpr std::uint32_t kMaxPortDelayMs = 10'000;

// The port monitor whose Ports key holds `port` (any case), or nullopt.
std::optional<std::string> PortMonitorOf(platform::Registry& registry,
                                         const std::string& port);

struct PortSettings {
  std::string command;    // a Windows path in the box
  std::string arguments;  // a Windows command line
  std::uint32_t delay_ms = 0;
};

// The settings of a "Redirected Port" port; nullopt with `error` when the
// port's key or its "Command" is missing.
std::optional<PortSettings> ReadPortSettings(platform::Registry& registry,
                                             const std::string& port,
                                             std::string* error);

class RedirectedPort {
 public:
  // `spool_folder` is the Linux path of the box's spool folder.
  RedirectedPort(std::string box_folder, std::string spool_folder);

  // Asked whenever a wait is interrupted by a signal: true ends the job
  // (the command is stopped).
  void set_interrupted(std::function<bool()> interrupted) {
    interrupted_ = std::move(interrupted);
  }

  // Prints the queued job `job_id` through `port` and removes it from the
  // queue. False with `error` (one line, with the command's last output
  // lines after it when it failed) when the job could not be printed.
  bool PrintJob(platform::Registry& registry, const std::string& port,
                std::uint32_t job_id, std::string* error);

 private:
  bool RunCommand(const PortSettings& settings, std::uint32_t job_id,
                  std::string* error);
  bool Interrupted() const { return interrupted_ && interrupted_(); }

  std::string box_folder_;
  std::string spool_folder_;
  BoxPaths paths_;
  std::function<bool()> interrupted_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_REDIRECTED_PORT_H_
