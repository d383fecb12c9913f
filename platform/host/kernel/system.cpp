#include "platform/host/kernel/system.h"

#include <unistd.h>

#include "platform/host/base/error_from_errno.h"
#include "platform/host/base/error_messages.h"
#include "platform/host/base/last_error.h"
#include "platform/host/kernel/kernel32_stand_in.h"

namespace plumeta::host {
namespace {

// The old values that Wow64DisableWow64FsRedirection hands out.
char redirection_was_on;
char redirection_was_off;

bool IsEntry(platform::EntryPoint entry, Kernel32Entry expected) {
  if (Kernel32EntryAt(entry) == expected) return true;
  SetThreadLastError(platform::kErrorInvalidParameter);
  return false;
}

}  // namespace

HostSystem::HostSystem(std::shared_ptr<BoxProcess> process)
    : process_(std::move(process)) {}

std::optional<platform::VersionInfo> HostSystem::Version() {
  if (process_->facts().version_fails) {
    SetThreadLastError(platform::kErrorInvalidParameter);
    return std::nullopt;
  }
  return process_->facts().version;
}

bool HostSystem::CallIsWow64Process(platform::EntryPoint entry, bool* wow64) {
  if (!IsEntry(entry, Kernel32Entry::kIsWow64Process)) return false;
  *wow64 = process_->facts().is_wow64;
  return true;
}

bool HostSystem::CallWow64DisableFsRedirection(platform::EntryPoint entry,
                                               void** old_value) {
  if (!IsEntry(entry, Kernel32Entry::kWow64DisableWow64FsRedirection)) {
    return false;
  }
  if (!process_->facts().is_wow64) {
    SetThreadLastError(platform::kErrorInvalidFunction);
    return false;
  }
  *old_value =
      process_->redirection_on() ? &redirection_was_on : &redirection_was_off;
  process_->set_redirection_on(false);
  return true;
}

bool HostSystem::CallWow64RevertFsRedirection(platform::EntryPoint entry,
                                              void* old_value) {
  if (!IsEntry(entry, Kernel32Entry::kWow64RevertWow64FsRedirection)) {
    return false;
  }
  if (!process_->facts().is_wow64) {
    SetThreadLastError(platform::kErrorInvalidFunction);
    return false;
  }
  if (old_value != &redirection_was_on && old_value != &redirection_was_off) {
    SetThreadLastError(platform::kErrorInvalidParameter);
    return false;
  }
  process_->set_redirection_on(old_value == &redirection_was_on);
  return true;
}

std::optional<std::string> HostSystem::Environment(const std::string& name) {
  return process_->facts().Environment(name);
}

std::string HostSystem::TempPath(std::uint32_t buffer_size) {
  std::string folder = process_->facts().windows_folder;
  for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
    std::optional<std::string> value = process_->facts().Environment(name);
    if (value && !value->empty()) {
      folder = *value;
      break;
    }
  }
  std::optional<std::string> full = process_->paths().FullPath(folder);
  std::string path = full ? *full : folder;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path.size() + 1 <= buffer_size ? path : "";
}

std::string HostSystem::ProgramPath() {
  char buffer[4096];
  ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string folder = "C:\\";
  if (size > 0) {
    std::string program(buffer, static_cast<std::size_t>(size));
    folder = process_->paths().ToWindows(
        program.substr(0, program.find_last_of('/') + 1));
  }
  if (folder.back() != '\\') folder += '\\';
  return folder + ProgramFileName();
}

platform::ErrorCode HostSystem::LastError() { return ThreadLastError(); }

void HostSystem::SetLastError(platform::ErrorCode code) {
  SetThreadLastError(code);
}

std::string HostSystem::ErrorMessage(platform::ErrorCode code) {
  return WindowsErrorMessage(code);
}

}  // namespace plumeta::host
