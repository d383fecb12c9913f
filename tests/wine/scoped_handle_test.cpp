#include "platform/win32/scoped_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace plumeta::win32 {
namespace {

// Handles are small numbers; closing one records it. Handle 13 refuses to
// close, as a file whose buffered data cannot be written would.
struct RecordingTraits {
  using Handle = int;
  static inline std::vector<int> closed;
  static Handle Invalid() { return -1; }
  static bool Close(Handle handle) {
    closed.push_back(handle);
    return handle != 13;
  }
};
using Recorded = ScopedHandle<RecordingTraits>;

class ScopedHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { RecordingTraits::closed.clear(); }
  const std::vector<int>& closed() { return RecordingTraits::closed; }
};

TEST_F(ScopedHandleTest, ClosesOnceAtTheEndOfItsScope) {
  { Recorded handle(4); }
  { Recorded nothing; }
  EXPECT_EQ(closed(), std::vector<int>{4});
}

TEST_F(ScopedHandleTest, MovesOwnershipWithoutClosing) {
  Recorded first(4);
  Recorded second(std::move(first));
  EXPECT_FALSE(first.IsValid());
  EXPECT_TRUE(closed().empty());
  Recorded third(5);
  third = std::move(second);  // 5 goes, 4 stays
  EXPECT_EQ(closed(), std::vector<int>{5});
  EXPECT_EQ(third.Get(), 4);
}

TEST_F(ScopedHandleTest, ReleaseGivesUpWithoutClosing) {
  Recorded handle(4);
  EXPECT_EQ(handle.Release(), 4);
  EXPECT_FALSE(handle);
  EXPECT_TRUE(closed().empty());
}

TEST_F(ScopedHandleTest, ResetAndReceiveCloseWhatWasHeld) {
  Recorded handle(4);
  handle.Reset(5);
  *handle.Receive() = 6;
  EXPECT_EQ(handle.Get(), 6);
  EXPECT_EQ(closed(), (std::vector<int>{4, 5}));
}

TEST_F(ScopedHandleTest, CloseReportsARefusalAndNeverClosesTwice) {
  Recorded refusing(13);
  EXPECT_FALSE(refusing.Close());
  EXPECT_FALSE(refusing.IsValid());
  Recorded nothing;
  EXPECT_TRUE(nothing.Close());
  EXPECT_EQ(closed(), std::vector<int>{13});
}

}  // namespace
}  // namespace plumeta::win32
