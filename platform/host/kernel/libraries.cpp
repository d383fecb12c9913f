#include "platform/host/kernel/libraries.h"

#include <cctype>

#include "platform/host/base/error_from_errno.h"
#include "platform/host/base/last_error.h"
#include "platform/host/kernel/kernel32_stand_in.h"

namespace plumeta::host {
namespace {

// Where 32-bit Windows XP loads kernel32.dll.
constexpr platform::Libraries::Handle kKernel32 = 0x7C800000;
// Where gsbridge.dll asks to be loaded.
constexpr platform::Libraries::Handle kGsBridge = 0x10000000;

}  // namespace

HostLibraries::HostLibraries(std::shared_ptr<BoxProcess> process,
                             EntryFinder gsbridge)
    : process_(std::move(process)), gsbridge_(std::move(gsbridge)) {}

bool HostLibraries::IsGsBridgeName(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/:");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  static constexpr std::string_view kBridge = "gsbridge.dll";
  if (name.size() != kBridge.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kBridge[i]) {
      return false;
    }
  }
  return true;
}

platform::Libraries::Handle HostLibraries::Load(const std::string& name) {
  if (gsbridge_ && IsGsBridgeName(name)) return kGsBridge;
  if (!IsKernel32Name(name)) {
    SetThreadLastError(platform::kErrorModuleNotFound);
    return 0;
  }
  ++loads_;
  return kKernel32;
}

platform::EntryPoint HostLibraries::Find(Handle library,
                                         const std::string& name) {
  if (library == kGsBridge) {
    platform::EntryPoint entry = gsbridge_(name);
    if (entry == nullptr) SetThreadLastError(platform::kErrorProcedureNotFound);
    return entry;
  }
  if (library != kKernel32 || load_count() <= 0) {
    SetThreadLastError(platform::kErrorInvalidHandle);
    return nullptr;
  }
  std::optional<Kernel32Entry> entry =
      FindKernel32Entry(name, process_->facts());
  if (!entry) {
    SetThreadLastError(platform::kErrorProcedureNotFound);
    return nullptr;
  }
  return EntryPointOf(*entry);
}

void HostLibraries::Free(Handle library) {
  if (library == kGsBridge) return;
  if (library != kKernel32 || load_count() <= 0) {
    SetThreadLastError(platform::kErrorInvalidHandle);
    return;
  }
  ++frees_;
}

}  // namespace plumeta::host
