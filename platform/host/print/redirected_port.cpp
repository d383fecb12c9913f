#include "platform/host/print/redirected_port.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "common/text.h"
#include "platform/host/base/unique_fd.h"
#include "platform/host/base/windows_command_line.h"
#include "platform/host/box/box.h"
#include "platform/host/print/print_registry.h"
#include "platform/host/print/spool_jobs.h"

namespace plumeta::host {
namespace {

using platform::RootKey;

// How many of the command's last output lines a failure shows.
constexpr std::size_t kOutputLinesShown = 12;

std::string PortKey(const std::string& monitor, const std::string& port) {
  return std::string(kPrintMonitorsKey) + "\\" + monitor + "\\Ports\\" + port;
}

// Removes the job from the queue when the port is done with it, however
// that came about.
class JobRemoval {
 public:
  JobRemoval(const std::string& spool_folder, std::uint32_t job_id)
      : spool_folder_(spool_folder), job_id_(job_id) {}
  ~JobRemoval() { RemoveSpoolJob(spool_folder_, job_id_); }
  JobRemoval(const JobRemoval&) = delete;
  JobRemoval& operator=(const JobRemoval&) = delete;

 private:
  const std::string& spool_folder_;
  std::uint32_t job_id_;
};

std::string LockFileName(const std::string& port) {
  std::string name;
  for (char c : port) {
    name += (c == ':' || c == '\\' || c == '/') ? '_' : AsciiUpper(c);
  }
  return name + ".port";
}

// The last lines of what the command wrote, each indented.
std::string LastLines(int fd) {
  std::string text;
  if (::lseek(fd, 0, SEEK_SET) == 0) {
    char buffer[8192];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
      text.append(buffer, static_cast<std::size_t>(got));
    }
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  std::string shown;
  const std::size_t first =
      lines.size() > kOutputLinesShown ? lines.size() - kOutputLinesShown : 0;
  for (std::size_t i = first; i < lines.size(); ++i) {
    shown += "\n  | " + lines[i];
  }
  return shown;
}

}  // namespace

std::optional<std::string> PortMonitorOf(platform::Registry& registry,
                                         const std::string& port) {
  for (const std::string& monitor :
       MachineSubkeyNames(registry, kPrintMonitorsKey)) {
    for (const std::string& name :
         MachineSubkeyNames(registry, std::string(kPrintMonitorsKey) + "\\" +
                                          monitor + "\\Ports")) {
      if (SameName(name, port)) return monitor;
    }
  }
  return std::nullopt;
}

std::optional<PortSettings> ReadPortSettings(platform::Registry& registry,
                                             const std::string& port,
                                             std::string* error) {
  auto key =
      OpenExistingMachineKey(registry, PortKey(kRedirectedPortMonitor, port));
  if (!key) {
    *error = "the port " + port + " has no key under the \"" +
             kRedirectedPortMonitor + "\" monitor";
    return std::nullopt;
  }
  PortSettings settings;
  platform::RegistryValue value;
  if (key->ReadValue("Command", &value) == platform::kSuccess) {
    settings.command = value.Text();
  }
  if (settings.command.empty()) {
    *error = "the port " + port + " names no \"Command\"";
    return std::nullopt;
  }
  if (key->ReadValue("Arguments", &value) == platform::kSuccess) {
    settings.arguments = value.Text();
  }
  if (key->ReadValue("Delay", &value) == platform::kSuccess &&
      value.type == platform::ValueType::kDword) {
    settings.delay_ms = std::min(value.Dword(), kMaxPortDelayMs);
  }
  return settings;
}

RedirectedPort::RedirectedPort(std::string box_folder, std::string spool_folder)
    : box_folder_(std::move(box_folder)),
      spool_folder_(std::move(spool_folder)),
      paths_(box_folder_) {}

bool RedirectedPort::PrintJob(platform::Registry& registry,
                              const std::string& port, std::uint32_t job_id,
                              std::string* error) {
  JobRemoval removal(spool_folder_, job_id);
  std::optional<std::string> monitor = PortMonitorOf(registry, port);
  if (!monitor) {
    *error = "no port monitor of the box has the port " + port;
    return false;
  }
  if (!SameName(*monitor, kRedirectedPortMonitor)) {
    *error = "the port " + port + " belongs to the \"" + *monitor +
             "\" monitor, which the box does not run";
    return false;
  }

  // One job at a time per port; the others wait in the queue.
  UniqueFd port_lock(::open((spool_folder_ + "/" + LockFileName(port)).c_str(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (!port_lock.valid()) {
    *error = "cannot open the port's lock in " + spool_folder_ + ": " +
             std::strerror(errno);
    return false;
  }
  while (::flock(port_lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR || Interrupted()) {
      *error = "interrupted while the job waited for the port " + port;
      return false;
    }
  }

  std::optional<PortSettings> settings =
      ReadPortSettings(registry, port, error);
  if (!settings) return false;
  SetSpoolJobStatus(spool_folder_, job_id, kJobStatusPrinting);
  timespec delay{static_cast<time_t>(settings->delay_ms / 1000),
                 static_cast<long>(settings->delay_ms % 1000) * 1'000'000};
  while (::nanosleep(&delay, &delay) != 0) {
    if (errno != EINTR || Interrupted()) {
      *error = "interrupted before the port ran its command";
      return false;
    }
  }
  return RunCommand(*settings, job_id, error);
}

bool RedirectedPort::RunCommand(const PortSettings& settings,
                                std::uint32_t job_id, std::string* error) {
  std::optional<std::string> program = paths_.ToLinux(settings.command);
  struct stat info;
  if (!program || ::stat(program->c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode)) {
    *error = "the port's command " + settings.command + " is not in the box";
    return false;
  }
  UniqueFd input(::open(SpoolDataPath(spool_folder_, job_id).c_str(),
                        O_RDONLY | O_CLOEXEC));
  if (!input.valid()) {
    *error = "the job's data is gone from the spool folder";
    return false;
  }
  UniqueFd output(::memfd_create("port-output", MFD_CLOEXEC));
  int exec_report[2];
  if (!output.valid() || ::pipe2(exec_report, O_CLOEXEC) != 0) {
    *error =
        std::string("cannot run the port's command: ") + std::strerror(errno);
    return false;
  }
  UniqueFd report_read(exec_report[0]);
  UniqueFd report_write(exec_report[1]);

  std::vector<std::string> argv_text = {*program};
  for (std::string& argument : SplitWindowsArguments(settings.arguments)) {
    argv_text.push_back(std::move(argument));
  }
  std::vector<char*> argv;
  for (std::string& argument : argv_text) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) {
    *error =
        std::string("cannot start the port's command: ") + std::strerror(errno);
    return false;
  }
  if (child == 0) {
    ::dup2(input.get(), 0);
    ::dup2(output.get(), 1);
    ::dup2(output.get(), 2);
    ::setenv(kBoxVariable, box_folder_.c_str(), 1);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::execv(argv[0], argv.data());
    const int failure = errno;
    [[maybe_unused]] ssize_t put =
        ::write(report_write.get(), &failure, sizeof failure);
    ::_exit(127);
  }
  report_write.Reset();
  int exec_error = 0;
  ssize_t got;
  while ((got = ::read(report_read.get(), &exec_error, sizeof exec_error)) <
             0 &&
         errno == EINTR) {
  }

  int status = 0;
  while (::waitpid(child, &status, 0) != child) {
    if (errno != EINTR) break;
    if (Interrupted()) {
      ::kill(child, SIGTERM);
      ::waitpid(child, &status, 0);
      *error = "interrupted: the port's command " + settings.command +
               " was stopped";
      return false;
    }
  }
  if (got == static_cast<ssize_t>(sizeof exec_error)) {
    *error = "cannot run the port's command " + settings.command + ": " +
             std::strerror(exec_error);
    return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  *error =
      "the port's command " + settings.command +
      (WIFEXITED(status)
           ? " failed with exit code " + std::to_string(WEXITSTATUS(status))
           : " was ended by signal " + std::to_string(WTERMSIG(status))) +
      LastLines(output.get());
  return false;
}

}  // namespace plumeta::host
