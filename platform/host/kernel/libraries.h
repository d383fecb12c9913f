// Host stand-in (Linux only). platform::Libraries with two libraries: the
// stand-in "kernel32.dll", whose WOW64 entry points exist exactly where the
// box's system.ini says, and "gsbridge.dll" from any folder, when the
// program was given its entry points (print/box_gsbridge.h). Every other
// library is not found (platform::kErrorModuleNotFound), as is every other
// entry point (platform::kErrorProcedureNotFound).
#ifndef PLATFORM_HOST_KERNEL_LIBRARIES_H_
#define PLATFORM_HOST_KERNEL_LIBRARIES_H_

#include <functional>
#include <memory>
#include <string_view>

#include "platform/host/box/box_process.h"
#include "platform/libraries.h"

namespace plumeta::host {

class HostLibraries : public platform::Libraries {
 public:
  using EntryFinder = std::function<platform::EntryPoint(std::string_view)>;
  explicit HostLibraries(std::shared_ptr<BoxProcess> process,
                         EntryFinder gsbridge = nullptr);

  Handle Load(const std::string& name) override;
  // Null with kErrorInvalidHandle for a library that is not loaded.
  platform::EntryPoint Find(Handle library, const std::string& name) override;
  void Free(Handle library) override;

  // What the program has done with kernel32.dll: loads, frees, and the loads
  // not yet freed.
  int loads() const { return loads_; }
  int frees() const { return frees_; }
  int load_count() const { return loads_ - frees_; }

 private:
  static bool IsGsBridgeName(std::string_view name);

  std::shared_ptr<BoxProcess> process_;
  EntryFinder gsbridge_;
  int loads_ = 0;
  int frees_ = 0;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_LIBRARIES_H_
