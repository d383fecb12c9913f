// plumsetup's /autosave and /template: the administrator's auto-save values
// written with an installation and deleted by a removal.
#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/system_names.h"
#include "setup/run_mode.h"
#include "setup/setup_form.h"
#include "tests/unit/support/setup_world.h"

namespace plumeta {
namespace {

using platform::RootKey;
using setup::AdministratorAutoSave;
using Lines = std::vector<std::string>;

TEST(SetupAutoSaveTest, SwitchesAnywhereInAnyCase) {
  const struct {
    Lines arguments;
    AdministratorAutoSave expected;
  } kRows[] = {
      {{}, {}},
      {{"/autosave", "D:\\PDF"}, {"D:\\PDF", {}}},
      {{"/AutoSave", "D:\\PDF", "/TEMPLATE", "<User> <Title>"},
       {"D:\\PDF", "<User> <Title>"}},
      {{"x", "/template", "<JobId>"}, {{}, "<JobId>"}},
      {{"/autosave", "/template"}, {"/template", {}}},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(setup::AutoSaveFromArguments(row.arguments), row.expected);
  }
  for (const Lines& arguments :
       {Lines{"/autosave"}, Lines{"/autosave", "D:\\", "/template"}}) {
    EXPECT_THROW(setup::AutoSaveFromArguments(arguments), PlumetaError);
  }
}

TEST(SetupAutoSaveTest, InstalledWithTheInstallationAndRemovedWithIt) {
  testing::SetupWorld world;
  world.SetValue(RootKey::kCurrentUser, kSettingsKey, kAutoSaveFolderValue,
                 "C:\\Mine");
  setup::TForm1 install(world.Services(), world.Balloon(),
                        {"/autosave", "D:\\PDF", "/template", "<User>"});
  install.FormCreate();
  EXPECT_EQ(install.SetupDone(), 1);
  EXPECT_EQ(world.spooler.printers.size(), 1u);
  EXPECT_EQ(
      world.Value(RootKey::kLocalMachine, kSettingsKey, kAutoSaveFolderValue),
      "D:\\PDF");
  EXPECT_EQ(
      world.Value(RootKey::kLocalMachine, kSettingsKey, kFileNameTemplateValue),
      "<User>");

  setup::TForm1 remove(world.Services(), world.Balloon(), {"1024"});
  remove.FormCreate();
  for (RootKey root : {RootKey::kLocalMachine, RootKey::kCurrentUser}) {
    for (const char* name : kAutoSaveValueNames) {
      EXPECT_EQ(world.Value(root, kSettingsKey, name), std::nullopt) << name;
    }
  }
}

TEST(SetupAutoSaveTest, AMissingValueInstallsNothing) {
  testing::SetupWorld world;
  setup::TForm1 form(world.Services(), world.Balloon(), {"/autosave"});
  EXPECT_THROW(form.FormCreate(), PlumetaError);
  EXPECT_TRUE(world.files.files.empty());
  EXPECT_TRUE(world.spooler.printers.empty());
  EXPECT_EQ(form.SetupDone(), 0);
}

}  // namespace
}  // namespace plumeta
