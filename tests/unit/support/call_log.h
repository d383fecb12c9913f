// One ordered record of the platform calls several fakes see, so that a test
// can check the order of calls that cross interfaces.
#ifndef TESTS_UNIT_SUPPORT_CALL_LOG_H_
#define TESTS_UNIT_SUPPORT_CALL_LOG_H_

#include <string>
#include <vector>

namespace plumeta::testing {

class CallLog {
 public:
  void Add(std::string call) { calls_.push_back(std::move(call)); }
  const std::vector<std::string>& calls() const { return calls_; }
  void Clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
};

// Adds to `log` when there is one.
inline void Record(CallLog* log, std::string call) {
  if (log != nullptr) log->Add(std::move(call));
}

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_CALL_LOG_H_
