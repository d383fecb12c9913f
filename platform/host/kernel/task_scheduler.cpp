#include "platform/host/kernel/task_scheduler.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/host/base/error_from_errno.h"

namespace plumeta::host {

HostTaskScheduler::HostTaskScheduler(std::shared_ptr<BoxProcess> process)
    : process_(std::move(process)) {}

std::optional<std::string> HostTaskScheduler::TaskFile(
    const std::string& name) const {
  const platform::VersionInfo& version = process_->facts().version;
  if (version.platform != platform::PlatformId::kNt || version.major < 6) {
    return std::nullopt;
  }
  return process_->paths().ToLinux(process_->facts().windows_folder +
                                   "\\system32\\Tasks\\" + name);
}

platform::ErrorCode HostTaskScheduler::RegisterTask(
    const std::string& name, const std::string& xml_definition) {
  const std::optional<std::string> file = TaskFile(name);
  if (!file) return platform::kErrorNotSupported;
  std::error_code error;
  std::filesystem::create_directories(
      std::filesystem::path(*file).parent_path(), error);
  if (error) return ErrorFromErrno(error.value(), file->c_str());
  std::ofstream out(*file, std::ios::binary | std::ios::trunc);
  out << xml_definition;
  out.close();
  return out ? platform::kSuccess : ErrorFromErrno(errno, file->c_str());
}

platform::ErrorCode HostTaskScheduler::DeleteTask(const std::string& name) {
  const std::optional<std::string> file = TaskFile(name);
  if (!file) return platform::kErrorNotSupported;
  std::error_code error;
  std::filesystem::remove(*file, error);
  return error ? ErrorFromErrno(error.value(), file->c_str())
               : platform::kSuccess;
}

}  // namespace plumeta::host
