#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include "platform/host/base/error_from_errno.h"
#include "platform/host/registry/file_hive_store.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/host/registry/store_registry.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

using platform::ErrorCode;
using platform::RegistryKey;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

constexpr RootKey kMachine = RootKey::kLocalMachine;
constexpr RootKey kUser = RootKey::kCurrentUser;

class FileRegistryTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
};

TEST_F(FileRegistryTest, ChangesReachTheFileAndOtherPrograms) {
  FileRegistry writer(folder_.path());
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(writer.OpenKey(kUser,
                           "Software\\Microsoft\\Windows\\CurrentVersion"
                           "\\ShellExt",
                           true, &key),
            platform::kSuccess);
  ASSERT_EQ(key->WriteString("Version", "1.4"), platform::kSuccess);

  std::string text = testing::ReadText(folder_ / "HKEY_CURRENT_USER.reg");
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                      "CurrentVersion\\ShellExt]\n\"Version\"=\"1.4\"\n"),
            std::string::npos)
      << text;

  // Another program changes the file; the open key sees it at once.
  testing::WriteText(
      folder_ / "HKEY_CURRENT_USER.reg",
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Microsoft\\"
      "Windows\\CurrentVersion\\ShellExt]\n\"Version\"=\"1.7\"\n");
  RegistryValue value;
  ASSERT_EQ(key->ReadValue("Version", &value), platform::kSuccess);
  EXPECT_EQ(value.Text(), "1.7");
}

TEST_F(FileRegistryTest, ACorruptHiveFailsAndIsLeftAlone) {
  const std::string garbage = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\nnonsense\n";
  testing::WriteText(folder_ / "HKEY_CURRENT_USER.reg", garbage);
  FileRegistry registry(folder_.path());
  std::unique_ptr<RegistryKey> key;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(registry.OpenKey(kUser, "A", true, &key),
            platform::kErrorRegistryCorrupt);
  std::string complaint = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(complaint.find("line 3"), std::string::npos) << complaint;
  EXPECT_EQ(testing::ReadText(folder_ / "HKEY_CURRENT_USER.reg"), garbage);
  // The other hive is not affected.
  EXPECT_EQ(registry.OpenKey(kMachine, "A", true, &key), platform::kSuccess);
}

TEST_F(FileRegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValuesEach = 200;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      FileRegistry registry(folder_.path());
      std::unique_ptr<RegistryKey> key;
      bool good = registry.OpenKey(kMachine, "SOFTWARE\\Race", true, &key) ==
                  platform::kSuccess;
      for (int i = 0; good && i < kValuesEach; ++i) {
        good = key->WriteDword(
                   "p" + std::to_string(child) + "_" + std::to_string(i),
                   static_cast<std::uint32_t>(i)) == platform::kSuccess;
      }
      ::_exit(good ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  FileRegistry registry(folder_.path());
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry.OpenKey(kMachine, "SOFTWARE\\Race", false, &key),
            platform::kSuccess);
  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), platform::kSuccess);
  EXPECT_EQ(names.size(), 2u * kValuesEach);
  for (int child = 0; child < 2; ++child) {
    RegistryValue value;
    ASSERT_EQ(key->ReadValue("p" + std::to_string(child) + "_199", &value),
              platform::kSuccess);
    EXPECT_EQ(value.Dword(), 199u);
  }
}

TEST(MemoryRegistryTest, ATestCanPrepareAndInspectTheHive) {
  MemoryRegistry registry;
  registry.hive(kMachine)
      .Create({"SYSTEM", "CurrentControlSet", "Control", "ProductOptions"})
      .SetValue("ProductType", RegistryValue::String("WinNT"));
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry.OpenKey(kMachine,
                             "SYSTEM\\CurrentControlSet\\Control\\"
                             "ProductOptions",
                             false, &key),
            platform::kSuccess);
  ASSERT_EQ(key->WriteDword("Count", 2), platform::kSuccess);
  EXPECT_NE(registry.Export(kMachine).find("\"Count\"=dword:00000002"),
            std::string::npos);
  registry = MemoryRegistry();
  EXPECT_TRUE(registry.hive(kMachine).root().subkeys().empty());
}

}  // namespace
}  // namespace plumeta::host
