#include "platform/host/box/box_process.h"

#include <unistd.h>

#include <filesystem>
#include <mutex>

#include "common/text.h"
#include "platform/host/box/box.h"
#include "platform/host/box/box_user.h"

namespace plumeta::host {
namespace {

std::mutex& ProgramNameMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& DeclaredProgramName() {
  static std::string name;
  return name;
}

}  // namespace

BoxProcess::BoxProcess(std::string box_folder, SystemFacts facts)
    : box_folder_(std::move(box_folder)),
      facts_(std::move(facts)),
      paths_(box_folder_) {}

std::shared_ptr<BoxProcess> BoxProcess::Open(const std::string& box_folder,
                                             std::string* error) {
  std::optional<SystemFacts> facts = LoadSystemFacts(box_folder, error);
  if (!facts) return nullptr;
  const std::string user = OtherUser(*facts);
  if (!user.empty()) BecomeUser(&*facts, user);
  auto process = std::make_shared<BoxProcess>(box_folder, std::move(*facts));
  process->other_user_ = user;
  if (!user.empty()) {
    // The user's first log-on makes the profile.
    for (const char* name : {"USERPROFILE", "TEMP"}) {
      const std::optional<std::string> folder =
          process->facts().Environment(name);
      const std::optional<std::string> linux_folder =
          folder ? process->LinuxPath(*folder) : std::nullopt;
      std::error_code ignored;
      if (linux_folder)
        std::filesystem::create_directories(*linux_folder, ignored);
    }
  }
  return process;
}

std::optional<std::string> BoxProcess::LinuxPath(
    std::string_view windows_path) const {
  std::optional<std::string> full = paths_.FullPath(windows_path);
  if (!full) return std::nullopt;
  if (redirection_on()) *full = RedirectForWow64(*full, facts_.windows_folder);
  return paths_.ToLinux(*full);
}

void DeclareProgramFileName(std::string file_name) {
  std::lock_guard lock(ProgramNameMutex());
  DeclaredProgramName() = std::move(file_name);
}

std::string ProgramFileName() {
  {
    std::lock_guard lock(ProgramNameMutex());
    if (!DeclaredProgramName().empty()) return DeclaredProgramName();
  }
  char buffer[4096];
  ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string path = size > 0 ? std::string(buffer, size) : "program";
  std::string name = path.substr(path.find_last_of('/') + 1);
  if (name.size() < 4 || !SameName(name.substr(name.size() - 4), ".exe")) {
    name += ".exe";
  }
  return name;
}

}  // namespace plumeta::host
