// Random bytes a test can predict: 0, 1, 2, ... continuing across calls.
#ifndef TESTS_UNIT_SUPPORT_FAKE_RANDOM_H_
#define TESTS_UNIT_SUPPORT_FAKE_RANDOM_H_

#include "platform/random.h"

namespace plumeta::testing {

class FakeRandom : public platform::Random {
 public:
  platform::ErrorCode failure = platform::kSuccess;
  int calls = 0;

  platform::ErrorCode Fill(std::uint8_t* data, std::size_t size) override {
    ++calls;
    if (failure != platform::kSuccess) return failure;
    for (std::size_t i = 0; i < size; ++i) data[i] = next_++;
    return platform::kSuccess;
  }

 private:
  std::uint8_t next_ = 0;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_RANDOM_H_
