// What the system interface answers: the box's facts and Win32's.
#include <string>
#include <thread>

#include "tests/contract/beds.h"

namespace plumeta::contract {
namespace {

using platform::PlatformId;
using platform::ProductType;

// The host bed's box is made for Windows 7, as a default Wine prefix says it
// is; on Windows itself the answer is that Windows'.
TEST_P(SystemContract, VersionIsWindows7) {
  if (ThisSide() == Side::kWin32 && !UnderWine()) {
    GTEST_SKIP() << "not under Wine";
  }
  const auto version = system().Version();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platform, PlatformId::kNt);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->minor, 1u);
  EXPECT_EQ(version->build, 7601u);
  EXPECT_EQ(version->service_pack, "Service Pack 1");
  EXPECT_EQ(version->product_type, ProductType::kWorkstation);
}

TEST_P(SystemContract, EnvironmentTellsUnsetFromEmpty) {
  const std::string name = "PLUMETA_CONTRACT_VARIABLE";
  const struct {
    const char* name;
    std::string value;
  } kRows[] = {
      {"short", "C:\\windows"},
      {"empty", ""},
      {"longer than a first buffer", std::string(1000, 'v')},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed().SetEnvironment(name, row.value.c_str());
    EXPECT_EQ(system().Environment(name), row.value);
    EXPECT_EQ(system().Environment("plumeta_contract_VARIABLE"), row.value);
  }
  bed().SetEnvironment(name, nullptr);
  EXPECT_EQ(system().Environment(name), std::nullopt);
  // The box's Windows 7 and a Wine prefix spell the Windows folder so.
  if (ThisSide() == Side::kHost || UnderWine()) {
    EXPECT_EQ(system().Environment("WINDIR"),
              OnSide<std::string>("C:\\WINDOWS", "C:\\windows"));
  }
}

TEST_P(SystemContract, TempPathFitsTheBufferWithItsNulOrIsEmpty) {
  bed().SetEnvironment("TMP", "C:\\Temp");  // "C:\Temp\" is 8 characters
  EXPECT_EQ(system().TempPath(255), "C:\\Temp\\");
  EXPECT_EQ(system().TempPath(9), "C:\\Temp\\");
  EXPECT_EQ(system().TempPath(8), "");
  EXPECT_EQ(system().TempPath(0), "");
}

TEST_P(SystemContract, ProgramPathIsThisTestProgram) {
  const std::string path = system().ProgramPath();
  EXPECT_EQ(path, bed().ExpectedProgramPath());
  EXPECT_EQ(path.substr(path.size() - 10), "_tests.exe") << path;
}

TEST_P(SystemContract, LastErrorBelongsToItsThread) {
  system().SetLastError(5);
  EXPECT_EQ(system().LastError(), 5u);
  std::thread other([this] {
    EXPECT_EQ(system().LastError(), 0u);
    system().SetLastError(32);
    EXPECT_EQ(system().LastError(), 32u);
  });
  other.join();
  // Joining a thread goes through Win32 calls that set the last error.
  if (ThisSide() == Side::kHost) {
    EXPECT_EQ(system().LastError(), 5u);
  }
}

// Wine's message table words its texts its own way: there only that a known
// code has a text, a line as FormatMessageA gives it.
TEST_P(SystemContract, ErrorTextsAreWindowsOwn) {
  const struct {
    platform::ErrorCode code;
    const char* text;
  } kRows[] = {
      {platform::kErrorFileNotFound,
       "The system cannot find the file specified.\r\n"},
      {platform::kErrorAccessDenied, "Access is denied.\r\n"},
      {platform::kErrorSharingViolation,
       "The process cannot access the file because it is being used by "
       "another process.\r\n"},
      {platform::kErrorFileExists, "The file exists.\r\n"},
      {platform::kErrorInvalidParameter, "The parameter is incorrect.\r\n"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.code);
    const std::string text = system().ErrorMessage(row.code);
    if (UnderWine()) {
      ASSERT_GE(text.size(), 2u);
      EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    } else {
      EXPECT_EQ(text, row.text);
    }
  }
  for (platform::ErrorCode unknown : {123456u, 0x2000ffffu}) {
    EXPECT_EQ(system().ErrorMessage(unknown), "");
  }
}

}  // namespace
}  // namespace plumeta::contract
