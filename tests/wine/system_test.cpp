// The libraries under Wine, and the last error and its text as the system's
// own; the rest of the system interface's contract is in tests/contract.
#include "platform/win32/system.h"

#include <gtest/gtest.h>

#include "platform/win32/libraries.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

TEST(SystemTest, LastErrorAndItsTextAreTheSystems) {
  Win32System system;
  system.SetLastError(1234);
  EXPECT_EQ(::GetLastError(), 1234u);
  ::SetLastError(80);
  EXPECT_EQ(system.LastError(), 80u);
  char raw[512] = {};
  ASSERT_GT(::FormatMessageA(
                FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                nullptr, 2, 0, raw, sizeof(raw), nullptr),
            0u);
  EXPECT_EQ(system.ErrorMessage(2), raw);
}

TEST(LibrariesTest, LoadsFindsAndFrees) {
  Win32Libraries libraries;
  const auto kernel32 = libraries.Load("kernel32.dll");
  ASSERT_NE(kernel32, 0u);
  EXPECT_EQ(libraries.Find(kernel32, "GetTempPathA"),
            reinterpret_cast<void*>(::GetProcAddress(
                ::GetModuleHandleA("kernel32.dll"), "GetTempPathA")));
  EXPECT_EQ(libraries.Find(kernel32, "NoSuchEntryPoint"), nullptr);
  EXPECT_EQ(libraries.Find(0, "GetTempPathA"), nullptr);
  libraries.Free(kernel32);

  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(libraries.Load("plumeta-no-such-library.dll"), 0u);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  libraries.Free(0);
}

}  // namespace
}  // namespace plumeta::win32
