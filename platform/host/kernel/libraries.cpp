#include "platform/host/kernel/libraries.h"

#include "platform/host/base/error_from_errno.h"
#include "platform/host/base/last_error.h"
#include "platform/host/kernel/kernel32_stand_in.h"

namespace plumeta::host {
namespace {

// Where 32-bit Windows XP loads kernel32.dll.
constexpr platform::Libraries::Handle kKernel32 = 0x7C800000;

}  // namespace

HostLibraries::HostLibraries(std::shared_ptr<BoxProcess> process)
    : process_(std::move(process)) {}

platform::Libraries::Handle HostLibraries::Load(const std::string& name) {
  if (!IsKernel32Name(name)) {
    SetThreadLastError(platform::kErrorModuleNotFound);
    return 0;
  }
  ++loads_;
  return kKernel32;
}

platform::EntryPoint HostLibraries::Find(Handle library,
                                         const std::string& name) {
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
  if (library != kKernel32 || load_count() <= 0) {
    SetThreadLastError(platform::kErrorInvalidHandle);
    return;
  }
  ++frees_;
}

}  // namespace plumeta::host
