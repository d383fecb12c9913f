// An in-memory System: version facts, WOW64 answers and the environment are
// plain fields a test sets; calls through entry points are recorded, and
// with a `log` the redirection switches go into it too.
#ifndef TESTS_UNIT_SUPPORT_FAKE_SYSTEM_H_
#define TESTS_UNIT_SUPPORT_FAKE_SYSTEM_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeSystem : public platform::System {
 public:
  std::optional<platform::VersionInfo> version = platform::VersionInfo{
      platform::PlatformId::kNt,          6, 1, 7601, "Service Pack 1",
      platform::ProductType::kWorkstation};
  bool is_wow64_call_succeeds = true;
  bool is_wow64 = false;
  bool redirection_calls_succeed = true;
  std::map<std::string, std::string> environment;
  std::string temp_path = "C:\\Temp\\";
  std::string program_path = "C:\\Program Files\\Plumeta\\plumeta.exe";
  platform::ErrorCode last_error = 0;
  std::vector<std::string> calls;  // "IsWow64Process", "Disable", "Revert"
  CallLog* log = nullptr;          // "system redirection off" / "... on"
  // WOW64's file-system redirection, as the calls switched it (see
  // FakeFiles::wow64_redirection_on).
  bool redirection_on = true;

  std::optional<platform::VersionInfo> Version() override { return version; }
  bool CallIsWow64Process(platform::EntryPoint, bool* wow64) override {
    calls.push_back("IsWow64Process");
    if (!is_wow64_call_succeeds) return false;
    *wow64 = is_wow64;
    return true;
  }
  bool CallWow64DisableFsRedirection(platform::EntryPoint,
                                     void** old_value) override {
    calls.push_back("Disable");
    Record(log, "system redirection off");
    *old_value = &redirection_token_;
    if (redirection_calls_succeed) redirection_on = false;
    return redirection_calls_succeed;
  }
  bool CallWow64RevertFsRedirection(platform::EntryPoint,
                                    void* old_value) override {
    calls.push_back(old_value == &redirection_token_ ? "Revert" : "Revert?");
    Record(log, "system redirection on");
    if (redirection_calls_succeed) redirection_on = true;
    return redirection_calls_succeed;
  }
  std::optional<std::string> Environment(const std::string& name) override {
    auto it = environment.find(name);
    if (it == environment.end()) return std::nullopt;
    return it->second;
  }
  std::string TempPath(std::uint32_t buffer_size) override {
    return temp_path.size() < buffer_size ? temp_path : "";
  }
  std::string ProgramPath() override { return program_path; }
  platform::ErrorCode LastError() override { return last_error; }
  void SetLastError(platform::ErrorCode code) override { last_error = code; }
  std::string ErrorMessage(platform::ErrorCode code) override {
    return code == 5 ? "Access is denied.\r\n" : "";
  }

 private:
  int redirection_token_ = 0;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_SYSTEM_H_
