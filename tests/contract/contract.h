// The contract suites: what each platform interface promises, written once
// and built twice, into the unit suite against the host stand-ins and into
// the wine suite against Win32. Each suite makes the beds the tests run on
// (tests/unit/support/contract_beds.cpp, tests/wine/support/contract_beds.cpp)
// and instantiates the suites with them.
//
// Where the box or Wine is known to answer otherwise, the row says so, with
// the reason, and expects the other answer there (`OnSide`) or is skipped.
#ifndef TESTS_CONTRACT_CONTRACT_H_
#define TESTS_CONTRACT_CONTRACT_H_

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace plumeta::contract {

enum class Side { kHost, kWin32 };

// The implementation this build checks; each suite defines these.
Side ThisSide();
// Whether the Win32 implementation runs under Wine rather than Windows.
bool UnderWine();

// The answer expected here: the box's or Win32's.
template <typename T>
T OnSide(T host, T win32) {
  return ThisSide() == Side::kHost ? host : win32;
}

// A named way to make a fresh bed for one test.
template <typename Bed>
struct BedMaker {
  std::string name;
  std::function<std::unique_ptr<Bed>()> make;

  friend void PrintTo(const BedMaker& maker, std::ostream* out) {
    *out << maker.name;
  }
};

// A maker of the bed `Made` from `arguments`.
template <typename Bed, typename Made, typename... Arguments>
BedMaker<Bed> Maker(std::string name, Arguments... arguments) {
  return {std::move(name),
          [=] { return std::make_unique<Made>(arguments...); }};
}

// A suite over beds of one kind: each test gets a fresh bed.
template <typename Bed>
class ContractTest : public ::testing::TestWithParam<BedMaker<Bed>> {
 protected:
  void SetUp() override { bed_ = this->GetParam().make(); }
  Bed& bed() { return *bed_; }

 private:
  std::unique_ptr<Bed> bed_;
};

// The instantiations' test names are the makers' names.
struct BedName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return info.param.name;
  }
};

}  // namespace plumeta::contract

#endif  // TESTS_CONTRACT_CONTRACT_H_
