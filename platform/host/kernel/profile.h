// Host stand-in (Linux only). The box's WIN.INI in its Windows folder, which
// WriteProfileStringA edits as 9x does. Nothing in the box listens for the
// change broadcast, so it is dropped.
#ifndef PLATFORM_HOST_KERNEL_PROFILE_H_
#define PLATFORM_HOST_KERNEL_PROFILE_H_

#include <memory>
#include <string>

#include "platform/host/box/box_process.h"
#include "platform/profile.h"

namespace plumeta::host {

// `ini` with `key` of `section` set to `value` (names in any case): the
// line replaced in place, or added at the end of the section, or a new
// section at the end.
std::string SetProfileString(const std::string& ini, const std::string& section,
                             const std::string& key, const std::string& value);

class HostProfile : public platform::Profile {
 public:
  explicit HostProfile(std::shared_ptr<BoxProcess> process);

  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  void BroadcastChange(const std::string&) override {}

 private:
  std::shared_ptr<BoxProcess> process_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_PROFILE_H_
