#include "platform/host/console/shell.h"

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/console/console_events.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;

std::string BaseName(const std::string& windows_path) {
  const std::string::size_type slash = windows_path.find_last_of("\\/");
  return slash == std::string::npos ? windows_path
                                    : windows_path.substr(slash + 1);
}

}  // namespace

HostShell::HostShell(std::shared_ptr<BoxProcess> process, std::ostream& events)
    : process_(std::move(process)), events_(events) {}

std::intptr_t HostShell::Execute(const platform::ShellExecuteRequest& request) {
  events_ << EventLine("shell",
                       {request.operation, request.file, request.parameters,
                        request.directory, std::to_string(request.show_mode)})
          << '\n'
          << std::flush;
  return 42;
}

int HostShell::RunFileOperation(const platform::FileOperation& operation) {
  if (operation.function != platform::FileFunction::kCopy) {
    return kShellFileOperationFailed;
  }
  std::vector<std::pair<fs::path, std::string>> sources;
  for (const std::string& from : operation.from) {
    std::optional<std::string> linux_path = process_->LinuxPath(from);
    std::error_code error;
    if (!linux_path || !fs::is_regular_file(*linux_path, error)) {
      return kShellFileOperationFailed;
    }
    sources.emplace_back(*linux_path, BaseName(from));
  }
  std::optional<std::string> target = process_->LinuxPath(operation.to);
  if (!target) return kShellFileOperationFailed;
  std::error_code error;
  fs::create_directories(*target, error);
  if (!fs::is_directory(*target, error)) return kShellFileOperationFailed;
  for (const auto& [source, name] : sources) {
    // A file of that name in any case is the one Windows would overwrite.
    std::optional<std::string> destination =
        process_->LinuxPath(operation.to + "\\" + name);
    if (!destination) return kShellFileOperationFailed;
    fs::copy_file(source, *destination, fs::copy_options::overwrite_existing,
                  error);
    if (error) return kShellFileOperationFailed;
  }
  return 0;
}

bool HostShell::SetCurrentFolder(const std::string& path) {
  std::optional<std::string> linux_path = process_->LinuxPath(path);
  return linux_path && ::chdir(linux_path->c_str()) == 0;
}

}  // namespace plumeta::host
