// Another user of the box: the facts as that user sees them, and the
// HKEY_CURRENT_USER of its own.
#include <gtest/gtest.h>

#include "platform/host/box/box_user.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/registry/file_hive_store.h"

namespace plumeta::host {
namespace {

TEST(BoxUserTest, AnotherUserHasAProfileTemporaryFolderAndHiveOfItsOwn) {
  const struct {
    const char* windows;
    const char* name;
    const char* expected;
  } kRows[] = {
      {"7", "USERPROFILE", "C:\\Users\\Bob"},
      {"7", "TEMP", "C:\\Users\\Bob\\AppData\\Local\\Temp"},
      {"7", "HOMEPATH", "\\Users\\Bob"},
      {"7", "USERNAME", "Bob"},
      {"7", "ALLUSERSPROFILE", "C:\\ProgramData"},
      {"xp", "TMP", "C:\\Documents and Settings\\Bob\\Local Settings\\Temp"},
      {"xp", "APPDATA", "C:\\Documents and Settings\\Bob\\Application Data"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(row.windows) + " " + row.name);
    SystemFacts facts = FindWindowsEdition(row.windows)->facts;
    BecomeUser(&facts, "Bob");
    EXPECT_EQ(facts.user_name, "Bob");
    EXPECT_EQ(facts.Environment(row.name), row.expected);
  }
  EXPECT_EQ(FileHiveStore("/box/registry", "Bob")
                .HiveFile(platform::RootKey::kCurrentUser),
            "/box/registry/HKEY_CURRENT_USER.bob.reg");
  EXPECT_EQ(FileHiveStore("/box/registry", "Bob")
                .HiveFile(platform::RootKey::kLocalMachine),
            "/box/registry/HKEY_LOCAL_MACHINE.reg");
}

}  // namespace
}  // namespace plumeta::host
