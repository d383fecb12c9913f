// Host stand-in (Linux only).
#include "platform/host/console/top_level_windows.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <utility>

#include "common/text.h"
#include "platform/application.h"
#include "platform/host/base/unique_fd.h"
#include "platform/host/box/box.h"
#include "platform/host/box/box_user.h"
#include "platform/host/console/console_events.h"

namespace plumeta::host {

namespace {

// GetClassNameA and GetWindowTextA read into 256 bytes.
constexpr std::size_t kMaxText = 255;

bool ProcessRuns(platform::WindowHandle window) {
  const auto pid = static_cast<pid_t>(window);
  if (pid <= 0) return false;
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::vector<platform::TopLevelWindow> ReadTable(const std::string& path) {
  std::vector<platform::TopLevelWindow> windows;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> fields = SplitEventLine(line);
    if (fields.size() != 3) continue;
    platform::TopLevelWindow window;
    window.handle = std::strtoull(fields[0].c_str(), nullptr, 10);
    window.class_name = fields[1].substr(0, kMaxText);
    window.title = fields[2].substr(0, kMaxText);
    windows.push_back(std::move(window));
  }
  return windows;
}

bool WriteTable(const std::string& path,
                const std::vector<platform::TopLevelWindow>& windows) {
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    for (const platform::TopLevelWindow& window : windows) {
      file << EventLine(
                  std::to_string(window.handle),
                  {window.class_name.value_or(""), window.title.value_or("")})
           << '\n';
    }
    if (!file.flush()) return false;
  }
  return ::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

HostTopLevelWindows::HostTopLevelWindows(std::string box_folder,
                                         std::function<std::string()> title,
                                         const std::string& user)
    : box_folder_(std::move(box_folder)),
      desktop_(user.empty() ? "" : "." + AsciiLower(user)),
      title_(std::move(title)),
      own_(static_cast<platform::WindowHandle>(::getpid())) {
  Update(true);
}

HostTopLevelWindows::~HostTopLevelWindows() { Update(false); }

std::string HostTopLevelWindows::TableFile() const {
  return box_folder_ + "/top_level_windows" + desktop_ + ".txt";
}

std::string HostTopLevelWindows::LockFile() const {
  return box_folder_ + "/top_level_windows" + desktop_ + ".lock";
}

std::vector<platform::TopLevelWindow> HostTopLevelWindows::Update(
    bool present) {
  UniqueFd lock(::open(LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock.valid()) return {};
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return {};
  }
  std::vector<platform::TopLevelWindow> windows;
  for (platform::TopLevelWindow& window : ReadTable(TableFile())) {
    if (window.handle != own_ && ProcessRuns(window.handle)) {
      windows.push_back(std::move(window));
    }
  }
  if (present) {
    platform::TopLevelWindow own;
    own.handle = own_;
    own.class_name = kApplicationWindowClass;
    own.title = (title_ ? title_() : std::string()).substr(0, kMaxText);
    windows.push_back(std::move(own));
  }
  WriteTable(TableFile(), windows);
  return windows;
}

platform::TopLevelWindow HostTopLevelWindows::ApplicationWindow() {
  platform::TopLevelWindow own;
  own.handle = own_;
  own.class_name = kApplicationWindowClass;
  own.title = (title_ ? title_() : std::string()).substr(0, kMaxText);
  return own;
}

std::vector<platform::TopLevelWindow> HostTopLevelWindows::EnumWindows() {
  return Update(true);
}

bool HostTopLevelWindows::BringWindowToTop(platform::WindowHandle window) {
  return ProcessRuns(window);
}

bool HostTopLevelWindows::Restore(platform::WindowHandle window) {
  return ProcessRuns(window);
}

bool HostTopLevelWindows::SetForegroundWindow(platform::WindowHandle window) {
  return ProcessRuns(window);
}

}  // namespace plumeta::host

namespace plumeta::platform {

std::unique_ptr<TopLevelWindows> CreateTopLevelWindows(
    Application& application) {
  // Each user of the box has a desktop of its own.
  std::string error;
  const std::optional<host::SystemFacts> facts =
      host::LoadSystemFacts(host::BoxFolder(), &error);
  return std::make_unique<host::HostTopLevelWindows>(
      host::BoxFolder(), [&application] { return application.Title(); },
      facts ? host::OtherUser(*facts) : "");
}

}  // namespace plumeta::platform
