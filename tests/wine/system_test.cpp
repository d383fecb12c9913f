#include "platform/win32/system.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/libraries.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using platform::PlatformId;
using platform::ProductType;

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         ::lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

class SystemTest : public ::testing::Test {
 protected:
  Win32System system_;
};

TEST_F(SystemTest, VersionOfADefaultPrefixIsWindows7) {
  if (!wine_test::RunsUnderWine()) GTEST_SKIP() << "not under Wine";
  const auto version = system_.Version();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platform, PlatformId::kNt);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->minor, 1u);
  EXPECT_EQ(version->build, 7601u);
  EXPECT_EQ(version->service_pack, "Service Pack 1");
  EXPECT_EQ(version->product_type, ProductType::kWorkstation);
}

TEST_F(SystemTest, TempPathFitsTheBufferOrIsEmpty) {
  char raw[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(sizeof(raw), raw);
  ASSERT_GT(length, 0u);
  const std::string temp = system_.TempPath(255);
  EXPECT_EQ(temp, raw);
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_EQ(system_.TempPath(length + 1), temp);
  EXPECT_EQ(system_.TempPath(length), "");
  EXPECT_EQ(system_.TempPath(0), "");
}

TEST_F(SystemTest, ProgramPathIsThisTestProgram) {
  char raw[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, raw, sizeof(raw)), 0u);
  const std::string path = system_.ProgramPath();
  EXPECT_EQ(path, raw);
  EXPECT_TRUE(EndsWithNoCase(path, "\\plumeta_wine_tests.exe")) << path;
}

TEST_F(SystemTest, EnvironmentTellsUnsetFromEmpty) {
  const std::string name = "PLUMETA_WINE_TEST_VARIABLE";
  struct Row {
    const char* name;
    std::string value;
  } rows[] = {
      {"short", "C:\\windows"},
      {"empty", ""},
      {"longer than the first buffer", std::string(1000, 'v')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(::SetEnvironmentVariableA(name.c_str(), row.value.c_str()));
    EXPECT_EQ(system_.Environment(name), row.value);
  }
  ASSERT_TRUE(::SetEnvironmentVariableA(name.c_str(), nullptr));
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(system_.Environment(name), std::nullopt);
  EXPECT_EQ(system_.Environment("windir"), "C:\\windows");
}

TEST_F(SystemTest, LastErrorAndItsText) {
  system_.SetLastError(1234);
  EXPECT_EQ(::GetLastError(), 1234u);
  ::SetLastError(80);
  EXPECT_EQ(system_.LastError(), 80u);

  char raw[512] = {};
  ASSERT_GT(::FormatMessageA(
                FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                nullptr, 2, 0, raw, sizeof(raw), nullptr),
            0u);
  EXPECT_EQ(system_.ErrorMessage(2), raw);
  EXPECT_EQ(system_.ErrorMessage(0x2000ffff), "");
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
