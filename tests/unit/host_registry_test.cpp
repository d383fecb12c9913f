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

// What every registry must do, kept in memory or in the box's files.
class RegistryTest : public ::testing::TestWithParam<bool> {
 protected:
  RegistryTest() {
    if (GetParam()) {
      registry_ = std::make_unique<FileRegistry>(folder_.path());
    } else {
      registry_ = std::make_unique<MemoryRegistry>();
    }
  }

  std::unique_ptr<RegistryKey> Open(RootKey root, const std::string& path,
                                    bool create = true) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry_->OpenKey(root, path, create, &key), platform::kSuccess)
        << path;
    return key;
  }

  ErrorCode OpenCode(RootKey root, const std::string& path, bool create) {
    std::unique_ptr<RegistryKey> key;
    return registry_->OpenKey(root, path, create, &key);
  }

  testing::TempFolder folder_;
  std::unique_ptr<platform::Registry> registry_;
};

INSTANTIATE_TEST_SUITE_P(MemoryAndFiles, RegistryTest, ::testing::Bool(),
                         [](const auto& info) {
                           return info.param ? "Files" : "Memory";
                         });

TEST_P(RegistryTest, NamesAreFoundInAnyCaseAndKeepTheirOwn) {
  auto key = Open(kUser, "Software\\Plumeta\\Settings");
  ASSERT_EQ(key->WriteString("Quality", "Printer"), platform::kSuccess);

  auto again = Open(kUser, "SOFTWARE\\plumeta\\SETTINGS", false);
  ASSERT_TRUE(again);
  ASSERT_EQ(again->WriteString("QUALITY", "Screen"), platform::kSuccess);
  RegistryValue value;
  ASSERT_EQ(again->ReadValue("quality", &value), platform::kSuccess);
  EXPECT_EQ(value.Text(), "Screen");

  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), platform::kSuccess);
  EXPECT_EQ(names, std::vector<std::string>{"Quality"});
  ASSERT_EQ(Open(kUser, "software")->SubkeyNames(&names), platform::kSuccess);
  EXPECT_EQ(names, std::vector<std::string>{"Plumeta"});
}

TEST_P(RegistryTest, ValuesInTheOrderWrittenSubkeysByName) {
  auto key = Open(kMachine, "SOFTWARE\\Order");
  for (const char* name : {"Zeta", "alpha", "Mid"}) {
    ASSERT_EQ(key->WriteDword(name, 1), platform::kSuccess);
  }
  for (const char* name : {"b", "C", "a"})
    Open(kMachine, "SOFTWARE\\Order\\" + std::string(name));
  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), platform::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
  ASSERT_EQ(key->SubkeyNames(&names), platform::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "C"}));
}

TEST_P(RegistryTest, MissingKeysAndValuesAreNotFound) {
  EXPECT_EQ(OpenCode(kMachine, "SOFTWARE\\Nothing", false),
            platform::kErrorFileNotFound);
  auto key = Open(kMachine, "SOFTWARE\\Something");
  RegistryValue value;
  EXPECT_EQ(key->ReadValue("Missing", &value), platform::kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue("Missing"), platform::kErrorFileNotFound);
  // The two hives are apart.
  EXPECT_EQ(OpenCode(kUser, "SOFTWARE\\Something", false),
            platform::kErrorFileNotFound);
}

TEST_P(RegistryTest, EveryTypeComesBackAsWritten) {
  auto key = Open(kUser, "Software\\Types");
  const RegistryValue kValues[] = {
      RegistryValue::String("C:\\Temp\\\"1024\".pdf"),
      RegistryValue::ExpandString("%TEMP%\\x"),
      RegistryValue::FromDword(0xDEADBEEF),
      {ValueType::kBinary, std::string("\x00\x01\xfe", 3)},
      {ValueType::kString, std::string("cut\0here\0", 9)},
  };
  for (std::size_t i = 0; i < std::size(kValues); ++i) {
    SCOPED_TRACE(i);
    std::string name = "v" + std::to_string(i);
    ASSERT_EQ(key->WriteValue(name, kValues[i]), platform::kSuccess);
    RegistryValue read;
    ASSERT_EQ(Open(kUser, "Software\\Types", false)->ReadValue(name, &read),
              platform::kSuccess);
    EXPECT_EQ(read.type, kValues[i].type);
    EXPECT_EQ(read.data, kValues[i].data);
  }
}

TEST_P(RegistryTest, DeleteKeyTreeTakesEverythingBelow) {
  auto inner = Open(kMachine, "SYSTEM\\Print\\Printers\\Plumeta\\DsSpooler");
  ASSERT_EQ(inner->WriteString("a", "b"), platform::kSuccess);
  auto sibling = Open(kMachine, "SYSTEM\\Print\\Monitors");

  ASSERT_EQ(registry_->DeleteKeyTree(kMachine, "system\\print\\PRINTERS"),
            platform::kSuccess);
  EXPECT_EQ(OpenCode(kMachine, "SYSTEM\\Print\\Printers", false),
            platform::kErrorFileNotFound);
  EXPECT_EQ(OpenCode(kMachine, "SYSTEM\\Print\\Monitors", false),
            platform::kSuccess);

  // A key held open across the deletion is a deleted key, and stays deleted.
  RegistryValue value;
  EXPECT_EQ(inner->ReadValue("a", &value), platform::kErrorKeyDeleted);
  EXPECT_EQ(inner->WriteString("a", "c"), platform::kErrorKeyDeleted);
  EXPECT_EQ(OpenCode(kMachine, "SYSTEM\\Print\\Printers", false),
            platform::kErrorFileNotFound);

  EXPECT_EQ(registry_->DeleteKeyTree(kMachine, "SYSTEM\\Print\\Printers"),
            platform::kErrorFileNotFound);
  EXPECT_EQ(registry_->DeleteKeyTree(kMachine, ""),
            platform::kErrorAccessDenied);
}

TEST_P(RegistryTest, RefusesPathsAndNamesAHiveCannotKeep) {
  for (const char* path : {"\\SOFTWARE", "SOFTWARE\\\\X", "A\nB"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(OpenCode(kMachine, path, true), platform::kErrorBadPathname);
  }
  EXPECT_EQ(OpenCode(kMachine, "SOFTWARE\\Trailing\\", true),
            platform::kSuccess);
  auto key = Open(kMachine, "SOFTWARE\\Trailing", false);
  EXPECT_EQ(key->WriteString("two\nlines", "x"),
            platform::kErrorInvalidParameter);
}

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
