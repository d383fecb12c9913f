// WIN.INI as the monitor and setup change it: the writes and broadcasts, in
// order.
#ifndef TESTS_UNIT_SUPPORT_FAKE_PROFILE_H_
#define TESTS_UNIT_SUPPORT_FAKE_PROFILE_H_

#include <string>
#include <vector>

#include "platform/profile.h"

namespace plumeta::testing {

// WIN.INI writes and broadcasts, in order, into a call log.
class FakeProfile : public platform::Profile {
 public:
  std::vector<std::string> calls;

  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override {
    calls.push_back("write [" + section + "] " + key + "=" + value);
    return true;
  }
  void BroadcastChange(const std::string& section) override {
    calls.push_back("broadcast " + section);
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_PROFILE_H_
