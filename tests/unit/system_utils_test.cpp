#include "common/system_utils.h"

#include <gtest/gtest.h>

#include "tests/unit/support/fake_libraries.h"
#include "tests/unit/support/fake_system.h"

namespace plumeta {
namespace {

constexpr char kIsWow64Process[] = "IsWow64Process";
constexpr char kDisable[] = "Wow64DisableWow64FsRedirection";
constexpr char kRevert[] = "Wow64RevertWow64FsRedirection";

class SystemUtilsTest : public ::testing::Test {
 protected:
  void GiveKernel32(std::set<std::string> entries) {
    libraries_.exports["KERNEL32.DLL"] = std::move(entries);
  }

  testing::FakeSystem system_;
  testing::FakeLibraries libraries_;
};

TEST_F(SystemUtilsTest, IsWow64OnlyWhenTheCallSucceedsAndSaysSo) {
  const struct {
    bool succeeds;
    bool wow64;
    bool expected;
  } kRows[] = {{true, true, true}, {true, false, false}, {false, true, false}};
  GiveKernel32({kIsWow64Process});
  for (const auto& row : kRows) {
    SCOPED_TRACE(::testing::Message() << row.succeeds << row.wow64);
    system_.is_wow64_call_succeeds = row.succeeds;
    system_.is_wow64 = row.wow64;
    ModuleList modules(libraries_);
    EXPECT_EQ(SystemUtils(system_, modules).IsWow64(), row.expected);
  }
}

TEST_F(SystemUtilsTest, MissingEntryPointsMeanNoCallAtAll) {
  GiveKernel32({});
  ModuleList modules(libraries_);
  SystemUtils utils(system_, modules);
  EXPECT_FALSE(utils.IsWow64());
  EXPECT_EQ(system_.last_error, platform::kErrorNotSupported);
  void* old_value = nullptr;
  EXPECT_FALSE(utils.DisableFsRedirection(&old_value));
  EXPECT_FALSE(utils.RevertFsRedirection(old_value));
  EXPECT_TRUE(system_.calls.empty());
}

TEST_F(SystemUtilsTest, RedirectionSwitchHandsTheOldValueBack) {
  GiveKernel32({kDisable, kRevert});
  ModuleList modules(libraries_);
  SystemUtils utils(system_, modules);
  void* old_value = nullptr;
  EXPECT_TRUE(utils.DisableFsRedirection(&old_value));
  EXPECT_TRUE(utils.RevertFsRedirection(old_value));
  EXPECT_EQ(system_.calls, (std::vector<std::string>{"Disable", "Revert"}));
}

TEST_F(SystemUtilsTest, TempFolderKeepsItsTrailingBackslash) {
  ModuleList modules(libraries_);
  system_.temp_path = "C:\\Users\\me\\AppData\\Local\\Temp\\";
  EXPECT_EQ(SystemUtils(system_, modules).TempFolder(),
            "C:\\Users\\me\\AppData\\Local\\Temp\\");
}

TEST_F(SystemUtilsTest, ModuleListLoadsOnceAndFreesAtTheEnd) {
  GiveKernel32({kIsWow64Process, kDisable});
  {
    ModuleList modules(libraries_);
    EXPECT_NE(modules.Find("kernel32.dll", kIsWow64Process), nullptr);
    EXPECT_NE(modules.Find("Kernel32.DLL", kDisable), nullptr);
    EXPECT_NE(modules.Find("KERNEL32.dll", kIsWow64Process), nullptr);
    EXPECT_EQ(libraries_.loads, 1);
    EXPECT_EQ(libraries_.frees, 0);
  }
  EXPECT_EQ(libraries_.frees, 1);
}

TEST_F(SystemUtilsTest, ModuleListCachesFoundAddressesOnly) {
  GiveKernel32({kIsWow64Process});
  ModuleList modules(libraries_);
  modules.Find("kernel32.dll", kIsWow64Process);
  modules.Find("kernel32.dll", kIsWow64Process);
  EXPECT_EQ(libraries_.lookups, 1);
  EXPECT_EQ(modules.Find("kernel32.dll", kRevert), nullptr);
  EXPECT_EQ(modules.Find("kernel32.dll", kRevert), nullptr);
  EXPECT_EQ(libraries_.lookups, 3);
}

TEST_F(SystemUtilsTest, ModuleListTriesAMissingLibraryAgain) {
  ModuleList modules(libraries_);
  EXPECT_EQ(modules.Find("kernel32.dll", kIsWow64Process), nullptr);
  GiveKernel32({kIsWow64Process});
  EXPECT_NE(modules.Find("kernel32.dll", kIsWow64Process), nullptr);
}

}  // namespace
}  // namespace plumeta
