#include "platform/host/kernel/processes.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr auto kGraceBeforeKill = std::chrono::seconds(1);

struct Registration {
  pid_t pid = 0;
  std::string exe_name;
  unsigned long long start = 0;
};

std::optional<Registration> ReadRegistration(const fs::path& file) {
  Registration registration;
  try {
    registration.pid = static_cast<pid_t>(std::stol(file.filename().string()));
  } catch (...) {
    return std::nullopt;
  }
  std::ifstream in(file);
  std::string line;
  bool has_start = false;
  while (std::getline(in, line)) {
    if (line.rfind("exe=", 0) == 0) registration.exe_name = line.substr(4);
    if (line.rfind("start=", 0) == 0) {
      try {
        registration.start = std::stoull(line.substr(6));
        has_start = true;
      } catch (...) {
      }
    }
  }
  if (registration.exe_name.empty() || !has_start) return std::nullopt;
  return registration;
}

bool StillThere(const Registration& registration) {
  const std::optional<unsigned long long> start =
      LiveProcessStart(registration.pid);
  return start && *start == registration.start;
}

// The live registrations; stale files are removed on the way.
std::vector<Registration> LiveRegistrations(const std::string& box_folder) {
  std::vector<Registration> live;
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(ProcessesFolder(box_folder), error)) {
    if (entry.path().extension() == ".part") continue;  // still being written
    std::optional<Registration> registration = ReadRegistration(entry.path());
    if (registration && StillThere(*registration)) {
      live.push_back(*registration);
    } else {
      fs::remove(entry.path(), error);
    }
  }
  std::sort(live.begin(), live.end(),
            [](const auto& a, const auto& b) { return a.pid < b.pid; });
  return live;
}

class HostProcess : public platform::Process {
 public:
  explicit HostProcess(Registration registration)
      : registration_(std::move(registration)) {}

  platform::ErrorCode Terminate(std::uint32_t) override {
    if (!StillThere(registration_) || ::kill(registration_.pid, SIGTERM) != 0) {
      return platform::kErrorAccessDenied;  // Windows' answer once it ended
    }
    if (!WaitUntilGone(Clock::now() + kGraceBeforeKill)) {
      ::kill(registration_.pid, SIGKILL);
    }
    return platform::kSuccess;
  }

  platform::WaitResult Wait(std::uint32_t timeout_ms,
                            platform::ErrorCode* error) override {
    *error = platform::kSuccess;
    return WaitUntilGone(Clock::now() + std::chrono::milliseconds(timeout_ms))
               ? platform::WaitResult::kSignalled
               : platform::WaitResult::kTimedOut;
  }

 private:
  bool WaitUntilGone(Clock::time_point deadline) {
    while (StillThere(registration_)) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(kPollInterval);
    }
    return true;
  }

  Registration registration_;
};

}  // namespace

std::string ProcessesFolder(const std::string& box_folder) {
  return (fs::path(box_folder) / "processes").string();
}

std::optional<unsigned long long> LiveProcessStart(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)),
                   std::istreambuf_iterator<char>());
  // The command name (field 2) is in parentheses and may hold anything.
  const std::string::size_type close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 1));
  std::string state;
  fields >> state;
  if (state == "Z" || state == "X" || state == "x") return std::nullopt;
  std::string field;
  for (int number = 4; number <= 22 && fields >> field; ++number) {
    if (number == 22) {
      try {
        return std::stoull(field);
      } catch (...) {
        return std::nullopt;
      }
    }
  }
  return std::nullopt;
}

BoxProcessRegistration::BoxProcessRegistration(const std::string& box_folder,
                                               const std::string& exe_name) {
  const pid_t pid = ::getpid();
  const std::optional<unsigned long long> start = LiveProcessStart(pid);
  std::error_code error;
  fs::create_directories(ProcessesFolder(box_folder), error);
  const fs::path file =
      fs::path(ProcessesFolder(box_folder)) / std::to_string(pid);
  const fs::path partial = file.string() + ".part";
  {
    std::ofstream out(partial, std::ios::trunc);
    out << "exe=" << exe_name << "\n"
        << "start=" << start.value_or(0) << "\n";
    if (!out.flush()) return;
  }
  fs::rename(partial, file, error);
  if (!error) file_ = file.string();
}

BoxProcessRegistration::~BoxProcessRegistration() {
  if (file_.empty()) return;
  std::error_code error;
  fs::remove(file_, error);
}

HostProcesses::HostProcesses(std::string box_folder,
                             const std::string& register_as)
    : box_folder_(std::move(box_folder)) {
  if (!register_as.empty()) {
    registration_ =
        std::make_unique<BoxProcessRegistration>(box_folder_, register_as);
  }
}

platform::ErrorCode HostProcesses::Snapshot(
    std::vector<platform::ProcessEntry>* entries) {
  entries->clear();
  for (const Registration& registration : LiveRegistrations(box_folder_)) {
    entries->push_back({static_cast<platform::ProcessId>(registration.pid),
                        registration.exe_name});
  }
  return platform::kSuccess;
}

platform::ErrorCode HostProcesses::Open(
    platform::ProcessId id, std::unique_ptr<platform::Process>* process) {
  for (const Registration& registration : LiveRegistrations(box_folder_)) {
    if (static_cast<platform::ProcessId>(registration.pid) == id) {
      *process = std::make_unique<HostProcess>(registration);
      return platform::kSuccess;
    }
  }
  return platform::kErrorInvalidParameter;  // Windows: no such process
}

}  // namespace plumeta::host
