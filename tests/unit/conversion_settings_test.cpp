// Loading the settings at start and the handlers of the settings menu.
#include "monitor/conversion_settings.h"

#include <gtest/gtest.h>

#include <cctype>

#include "monitor/main_form.h"
#include "tests/support/gs_argument_reader.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

class ConversionSettingsTest : public ::testing::Test {
 protected:
  // The names of the checked items of a submenu.
  static std::vector<std::string> Checked(testing::MonitorTestBed& bed,
                                          TMain& main,
                                          const std::string& submenu) {
    std::vector<std::string> names;
    for (const auto& item : bed.ShownItem(main, submenu).items) {
      if (item.checked) names.push_back(item.name);
    }
    return names;
  }
  std::vector<std::string> Checked(TMain& main, const std::string& submenu) {
    return Checked(bed_, main, submenu);
  }
  // The settings as the monitor uses them: the file's arguments, and the
  // Permission setting as the security items' ticks.
  static ConversionSettings InUse(testing::MonitorTestBed& bed, TMain& main) {
    auto value = [&](const std::string& option) {
      const std::string argument = Argument(bed, option);
      return argument == "<none>" ? "" : argument.substr(option.size());
    };
    ConversionSettings settings;
    settings.version = value("-dCompatibilityLevel=");
    settings.quality = value("-dPDFSETTINGS=/");
    if (!settings.quality.empty()) {
      settings.quality[0] = static_cast<char>(
          std::toupper(static_cast<unsigned char>(settings.quality[0])));
    }
    settings.user_password = value("-sUserPassword=");
    settings.owner_password = value("-sOwnerPassword=");
    settings.resolution = value("-r");
    for (const auto& item : bed.ShownItem(main, "PDFLayout1").items) {
      settings.permission += item.checked ? '1' : '0';
    }
    return settings;
  }
  // The argument of the current file that starts with `option`.
  static std::string Argument(testing::MonitorTestBed& bed,
                              const std::string& option) {
    const auto arguments =
        testing::ReadGhostscriptArguments(bed.ResponseFile());
    for (const auto& argument :
         arguments.value_or(std::vector<std::string>{})) {
      if (argument.rfind(option, 0) == 0) return argument;
    }
    return "<none>";
  }
  std::string Argument(const std::string& option) {
    return Argument(bed_, option);
  }

  testing::MonitorTestBed bed_;
};

TEST_F(ConversionSettingsTest, EmptyKeyGivesTheDefaults) {
  auto main = bed_.Start();
  EXPECT_EQ(InUse(bed_, *main),
            (ConversionSettings{"1.3", "Default", "", "", "1200", "11111111"}));
  EXPECT_EQ(Checked(*main, "PDFEncryptDecrpt1"),
            std::vector<std::string>{"Default1"});
  EXPECT_EQ(Checked(*main, "PDFMergeSplit1"), std::vector<std::string>{"N131"});
  EXPECT_EQ(Checked(*main, "PDFResolution1"),
            std::vector<std::string>{"N12001"});
  EXPECT_EQ(Checked(*main, "PDFLayout1").size(), 8u);
  // One write for each of the three stored values that matched an item.
  EXPECT_EQ(bed_.ResponseFileWrites(), 3);
  EXPECT_EQ(Argument("-dCompatibilityLevel="), "-dCompatibilityLevel=1.3");
  EXPECT_EQ(Argument("-dPDFSETTINGS="), "-dPDFSETTINGS=/default");
  EXPECT_EQ(Argument("-r"), "-r1200");
}

TEST_F(ConversionSettingsTest, StoredValues) {
  const struct {
    const char* name;
    const char* value;
    const char* submenu;
    std::vector<std::string> checked;
    const char* option;
    const char* argument;
  } kRows[] = {
      {"Quality",
       "Print",
       "PDFEncryptDecrpt1",
       {"Print1"},
       "-dPDFSETTINGS=",
       "-dPDFSETTINGS=/printer"},
      {"Version",
       "1.2",
       "PDFMergeSplit1",
       {"N121"},
       "-dCompatibilityLevel=",
       "-dCompatibilityLevel=1.2"},
      {"Resolution", "500", "PDFResolution1", {"N12001"}, "-r", "-r500"},
      {"Resolution", "4000", "PDFResolution1", {"N40001"}, "-r", "-r4000"},
      {"Permission",
       "00000000",
       "PDFLayout1",
       {},
       "-dPermissions#-",
       "-dPermissions#-3904"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(row.name) + "=" + row.value);
    testing::MonitorTestBed bed;
    bed.Store(row.name, row.value);
    auto main = bed.Start();
    EXPECT_EQ(Checked(bed, *main, row.submenu), row.checked);
    EXPECT_EQ(Argument(bed, row.option), row.argument);
    EXPECT_TRUE(bed.ui->messages.empty());
  }
}

TEST_F(ConversionSettingsTest, ShortPermissionWithholdsOnlyWhatItHolds) {
  bed_.Store("Permission", "10");
  auto main = bed_.Start();
  const auto checked = Checked(*main, "PDFLayout1");
  EXPECT_EQ(checked.size(), 7u);
  EXPECT_FALSE(bed_.ShownItem(*main, "Modifycontentsofdocument1").checked);
  EXPECT_EQ(InUse(bed_, *main).permission, "10111111");
  EXPECT_EQ(Argument("-dPermissions#-"), "-dPermissions#-12");
}

TEST_F(ConversionSettingsTest, ExpandableStringsCountUpToTheirFirstNul) {
  bed_.StoreValue("Resolution",
                  platform::RegistryValue{platform::ValueType::kExpandString,
                                          std::string("600\0junk\0", 9)});
  auto main = bed_.Start();
  EXPECT_EQ(InUse(bed_, *main).resolution, "600");
  EXPECT_EQ(Checked(*main, "PDFResolution1"),
            std::vector<std::string>{"N6001"});
}

// The user's hive cannot be read: every key under HKEY_CURRENT_USER fails.
class UnreadableUserHive : public host::MemoryRegistry {
 public:
  platform::ErrorCode OpenKey(
      platform::RootKey root, const std::string& path, bool create,
      std::unique_ptr<platform::RegistryKey>* key) override {
    if (root == platform::RootKey::kCurrentUser) return 1015;
    return MemoryRegistry::OpenKey(root, path, create, key);
  }
};

// A setting that cannot be read is shown at start-up and its default stands
// for it, in the menu and in the file; the rest of the start-up runs.
TEST_F(ConversionSettingsTest, UnreadableSettingsAreShownAndTakeTheirDefaults) {
  const struct {
    const char* label;
    bool hive_unreadable;
    const char* message;
    ConversionSettings settings;
  } kRows[] = {
      {"Quality stored as a number",
       false,
       "Invalid data type for 'Quality'",
       {"1.4", "Default", "", "own", "1200", "01111111"}},
      {"settings key unreadable",
       true,
       "Failed to get data for 'Version'",
       {"1.3", "Default", "", "", "1200", "11111111"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    testing::MonitorTestBed bed;
    bed.Store("Version", "1.4");
    bed.Store("OPwd", "own");
    bed.Store("Permission", "01111111");
    bed.StoreValue("Quality", platform::RegistryValue::FromDword(1));
    if (row.hive_unreadable) {
      bed.platform.registry = std::make_unique<UnreadableUserHive>();
    }
    auto main = bed.Start();
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text, row.message);
    EXPECT_EQ(bed.ui->messages[0].icon, platform::MessageIcon::kError);
    EXPECT_EQ(InUse(bed, *main), row.settings);
    EXPECT_EQ(Checked(bed, *main, "PDFEncryptDecrpt1"),
              std::vector<std::string>{"Default1"});
    EXPECT_EQ(Checked(bed, *main, "PDFLayout1").size(),
              row.hive_unreadable ? 8u : 7u);
    main->ShowBalloon();
    EXPECT_EQ(bed.balloon_windows.shown.back().layout.tip.x, 1024 - 90);
    // The file, and every later one, holds what the menu shows.
    main->ClickMenuItem("N6001");
    EXPECT_EQ(Argument(bed, "-dPDFSETTINGS="), "-dPDFSETTINGS=/default");
    EXPECT_EQ(Argument(bed, "-dCompatibilityLevel="),
              std::string("-dCompatibilityLevel=") +
                  (row.hive_unreadable ? "1.3" : "1.4"));
    EXPECT_EQ(Argument(bed, "-r"), "-r600");
  }
}

// A stored value Ghostscript would refuse, or one that would reach it as more
// than a value, is shown once; the default takes its place in the menu, in
// the file and, at close, in the registry.
TEST_F(ConversionSettingsTest, ValuesGhostscriptRefusesTakeTheirDefault) {
  const struct {
    const char* name;
    const char* stored;
    const char* submenu;
    const char* default_item;
    const char* argument;
    const char* default_value;
  } kRows[] = {
      {"Resolution", "300=\"", "PDFResolution1", "N12001", "-r1200", "1200"},
      {"Resolution", "300 -dNOSAFER", "PDFResolution1", "N12001", "-r1200",
       "1200"},
      {"Resolution", "0", "PDFResolution1", "N12001", "-r1200", "1200"},
      {"Resolution", "72dpi", "PDFResolution1", "N12001", "-r1200", "1200"},
      {"Resolution", "1", "PDFResolution1", "N12001", "-r1200", "1200"},
      {"Resolution", "99999999", "PDFResolution1", "N12001", "-r1200", "1200"},
      {"Version", "abc", "PDFMergeSplit1", "N131", "-dCompatibilityLevel=1.3",
       "1.3"},
      {"Version", "1.4\" -dNOSAFER \"", "PDFMergeSplit1", "N131",
       "-dCompatibilityLevel=1.3", "1.3"},
      {"Version", "1.5", "PDFMergeSplit1", "N131", "-dCompatibilityLevel=1.3",
       "1.3"},
      {"Quality", "Bogus", "PDFEncryptDecrpt1", "Default1",
       "-dPDFSETTINGS=/default", "Default"},
      {"Quality", "PRINT", "PDFEncryptDecrpt1", "Default1",
       "-dPDFSETTINGS=/default", "Default"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(row.name) + " " + row.stored);
    testing::MonitorTestBed bed;
    bed.Store(row.name, row.stored);
    auto main = bed.Start();
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text,
              std::string("Invalid data for '") + row.name + "'");
    EXPECT_EQ(Checked(bed, *main, row.submenu),
              std::vector<std::string>{row.default_item});
    const auto arguments =
        testing::ReadGhostscriptArguments(bed.ResponseFile());
    ASSERT_TRUE(arguments.has_value());
    EXPECT_EQ(arguments->size(), 14u);
    const std::string argument = row.argument;
    const std::size_t equals = argument.find('=');
    EXPECT_EQ(Argument(bed, equals == std::string::npos
                                ? argument.substr(0, 2)
                                : argument.substr(0, equals + 1)),
              argument);
    bed.window().Close();
    EXPECT_EQ(bed.Stored(row.name), row.default_value);
  }
}

TEST_F(ConversionSettingsTest, ValuesMatchingNoItemStillReachTheFile) {
  bed_.Store("Resolution", "500");
  bed_.Store("UPwd", "secret");
  auto main = bed_.Start();
  EXPECT_TRUE(bed_.ui->messages.empty());
  // Written by the version's and the quality's items; the resolution
  // matches none.
  EXPECT_EQ(bed_.ResponseFileWrites(), 2);
  EXPECT_EQ(Argument("-sUserPassword="), "-sUserPassword=secret");
  EXPECT_EQ(Argument("-r"), "-r500");
}

TEST_F(ConversionSettingsTest, RadioGroupsKeepOneTick) {
  auto main = bed_.Start();
  const int writes = bed_.ResponseFileWrites();
  main->ClickMenuItem("N6001");
  main->ClickMenuItem("N12001");
  EXPECT_EQ(Checked(*main, "PDFResolution1"),
            std::vector<std::string>{"N12001"});
  EXPECT_EQ(bed_.ResponseFileWrites(), writes + 2);
  main->ClickMenuItem("N141");
  EXPECT_EQ(Checked(*main, "PDFMergeSplit1"), std::vector<std::string>{"N141"});
  EXPECT_EQ(InUse(bed_, *main).version, "1.4");
  main->ClickMenuItem("Prepress1");
  EXPECT_EQ(Checked(*main, "PDFEncryptDecrpt1"),
            std::vector<std::string>{"Prepress1"});
  EXPECT_EQ(Argument("-dPDFSETTINGS="), "-dPDFSETTINGS=/prepress");
  // A radio item clicked again stays ticked.
  main->ClickMenuItem("Prepress1");
  EXPECT_EQ(Checked(*main, "PDFEncryptDecrpt1"),
            std::vector<std::string>{"Prepress1"});
}

TEST_F(ConversionSettingsTest, SecurityItemAsksForAnOwnerPasswordAfterWriting) {
  auto main = bed_.Start();
  std::string file_while_prompt_open;
  bed_.dialogs->while_input_open = [&] {
    file_while_prompt_open = bed_.ResponseFile();
  };
  bed_.dialogs->input_answers = {"owner"};
  main->ClickMenuItem("Printdocument1");
  EXPECT_FALSE(bed_.ShownItem(*main, "Printdocument1").checked);
  ASSERT_EQ(bed_.dialogs->inputs.size(), 1u);
  EXPECT_EQ(bed_.dialogs->inputs[0].caption, "Owner Password Required");
  EXPECT_EQ(bed_.dialogs->inputs[0].prompt,
            "You have set security settings for your PDF document, to enable "
            "this security feature, you should set a owner password for your "
            "PDF document:  ");
  EXPECT_EQ(bed_.dialogs->inputs[0].initial, "");
  // Already encrypting when the prompt opens...
  EXPECT_NE(file_while_prompt_open.find("-dPermissions#-8"), std::string::npos);
  // ...and the password entered there is in the file at once.
  EXPECT_EQ(InUse(bed_, *main).owner_password, "owner");
  EXPECT_EQ(Argument("-sOwnerPassword="), "-sOwnerPassword=owner");
}

TEST_F(ConversionSettingsTest, NoPromptWithAnOwnerPasswordOrAllGranted) {
  auto main = bed_.Start();
  main->ClickMenuItem("Printdocument1");  // prompt cancelled
  ASSERT_EQ(bed_.dialogs->inputs.size(), 1u);
  main->ClickMenuItem("Printdocument1");  // back to all granted: no prompt
  EXPECT_EQ(bed_.dialogs->inputs.size(), 1u);
  EXPECT_EQ(InUse(bed_, *main).permission, "11111111");
  EXPECT_EQ(Argument("-dEncryptionR#3"), "<none>");
  EXPECT_EQ(Argument("-sOwnerPassword="), "<none>");

  bed_.dialogs->input_answers = {"own"};
  main->ClickMenuItem("OwnerPassword1");
  main->ClickMenuItem("Highqualityprint1");
  EXPECT_EQ(bed_.dialogs->inputs.size(), 2u);
  EXPECT_EQ(Argument("-dPermissions#-"), "-dPermissions#-2052");
}

TEST_F(ConversionSettingsTest, PasswordDialogs) {
  auto main = bed_.Start();
  bed_.dialogs->input_answers = {"usr"};
  main->ClickMenuItem("UserPassword1");
  EXPECT_EQ(bed_.dialogs->inputs.back().caption, "Set User Password");
  EXPECT_EQ(bed_.dialogs->inputs.back().prompt, "Enter the User Password: ");
  EXPECT_EQ(bed_.dialogs->inputs.back().initial, "");
  EXPECT_EQ(Argument("-sUserPassword="), "-sUserPassword=usr");
  EXPECT_TRUE(bed_.ui->messages.empty());

  // Cancel keeps the password.
  main->ClickMenuItem("UserPassword1");
  EXPECT_EQ(bed_.dialogs->inputs.back().initial, "usr");
  EXPECT_EQ(InUse(bed_, *main).user_password, "usr");
  EXPECT_TRUE(bed_.ui->messages.empty());

  // An empty answer clears it.
  bed_.dialogs->input_answers = {""};
  main->ClickMenuItem("UserPassword1");
  EXPECT_EQ(InUse(bed_, *main).user_password, "");
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  EXPECT_EQ(bed_.ui->messages[0].text, "User password cleared.");
  EXPECT_EQ(bed_.ui->messages[0].caption, "Plumeta");
  EXPECT_EQ(bed_.ui->messages[0].icon, platform::MessageIcon::kNone);
  EXPECT_EQ(bed_.ui->messages[0].buttons, platform::MessageButtons::kOk);
  EXPECT_EQ(Argument("-sUserPassword="), "<none>");

  // Cancelled while empty: "cleared" all the same.
  main->ClickMenuItem("OwnerPassword1");
  EXPECT_EQ(bed_.dialogs->inputs.back().caption, "Set Owner Password");
  EXPECT_EQ(bed_.dialogs->inputs.back().prompt, "Enter the Owner Password: ");
  ASSERT_EQ(bed_.ui->messages.size(), 2u);
  EXPECT_EQ(bed_.ui->messages[1].text, "Owner password cleared.");
}

TEST_F(ConversionSettingsTest, CloseStoresThePermissionRebuiltFromTheMenu) {
  bed_.Store("Permission", "0");
  auto main = bed_.Start();
  main->ClickMenuItem("Printdocument1");
  main->ClickMenuItem("Highqualityprint1");  // the prompt cancelled
  bed_.window().Close();
  EXPECT_EQ(bed_.Stored("Permission"), "11111110");
}

TEST_F(ConversionSettingsTest, SettingsSubmenusTheirCaptionsAndMarks) {
  auto main = bed_.NewMain();
  auto submenu = [&](const char* name) {
    return bed_.ShownItem(*main, name).items;
  };
  EXPECT_EQ(submenu("PDFMergeSplit1")[0].caption, "1.2  (Adobe Acrobat 3.x)");
  EXPECT_TRUE(submenu("PDFMergeSplit1")[0].radio);
  EXPECT_FALSE(submenu("PDFLayout1")[0].radio);
  EXPECT_EQ(submenu("PDFLayout1")[4].caption, "Fill in interacive form fields");
  EXPECT_EQ(submenu("PDFResolution1").size(), 8u);
}

}  // namespace
}  // namespace plumeta
