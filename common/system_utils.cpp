#include "common/system_utils.h"

namespace plumeta {
namespace {

constexpr char kKernel32[] = "kernel32.dll";
constexpr std::uint32_t kTempPathBufferSize = 255;

}  // namespace

SystemUtils::SystemUtils(platform::System& system, ModuleList& modules)
    : system_(system), modules_(modules) {}

bool SystemUtils::IsWow64() {
  platform::EntryPoint entry = modules_.Find(kKernel32, "IsWow64Process");
  if (entry == nullptr) {
    system_.SetLastError(platform::kErrorNotSupported);
    return false;
  }
  bool wow64 = false;
  return system_.CallIsWow64Process(entry, &wow64) && wow64;
}

bool SystemUtils::DisableFsRedirection(void** old_value) {
  platform::EntryPoint entry =
      modules_.Find(kKernel32, "Wow64DisableWow64FsRedirection");
  if (entry == nullptr) return false;
  return system_.CallWow64DisableFsRedirection(entry, old_value);
}

bool SystemUtils::RevertFsRedirection(void* old_value) {
  platform::EntryPoint entry =
      modules_.Find(kKernel32, "Wow64RevertWow64FsRedirection");
  if (entry == nullptr) return false;
  return system_.CallWow64RevertFsRedirection(entry, old_value);
}

std::string SystemUtils::TempFolder() {
  return system_.TempPath(kTempPathBufferSize);
}

platform::ErrorCode InEachSystemFolder(
    SystemUtils& utils, bool under_wow64,
    const std::function<platform::ErrorCode()>& step) {
  platform::ErrorCode native;
  {
    NativeSystemFolder scope(utils, under_wow64);
    native = step();
  }
  if (!under_wow64) return native;
  const platform::ErrorCode wow64 = step();
  return native != platform::kSuccess ? native : wow64;
}

}  // namespace plumeta
