// plumbox on fresh boxes in temporary folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/registry/file_hive_store.h"
#include "platform/host/registry/regedit4.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;
using testing::ProgramResult;

class PlumboxTest : public ::testing::Test {
 protected:
  std::string Box() const { return folder_ / "box"; }

  ProgramResult Plumbox(const std::vector<std::string>& arguments,
                        const std::string& input = "") {
    return testing::RunProgram(PLUMBOX_PATH, arguments, {{kBoxVariable, Box()}},
                               input);
  }

  // `plumbox reg ...` that must succeed; its standard output.
  std::string Reg(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "reg");
    ProgramResult result = Plumbox(arguments);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return result.out;
  }

  // The value as the box's hive file holds it; `hive_` keeps the hive.
  const RegistryValue* Stored(RootKey root, const std::vector<std::string>& key,
                              const std::string& name) {
    hive_ = Hive();
    std::string path = FileHiveStore(RegistryFolder(Box())).HiveFile(root);
    std::string error;
    EXPECT_TRUE(ParseRegedit4(testing::ReadText(path), RootKeyName(root),
                              &hive_, &error))
        << error;
    const HiveKey* found = hive_.Find(key);
    return found ? found->FindValue(name) : nullptr;
  }

  testing::TempFolder folder_;
  Hive hive_;
};

TEST_F(PlumboxTest, InitMakesABoxForEveryWindows) {
  for (const std::string& name : WindowsNames()) {
    SCOPED_TRACE(name);
    ProgramResult result = Plumbox({"init", "--windows", name, Box()});
    ASSERT_EQ(result.exit_code, 0) << result.err;

    WindowsEdition edition = *FindWindowsEdition(name);
    std::string error;
    std::optional<SystemFacts> facts = LoadSystemFacts(Box(), &error);
    ASSERT_TRUE(facts) << error;
    EXPECT_EQ(facts->version.platform, edition.facts.version.platform);
    EXPECT_EQ(facts->version.major, edition.facts.version.major);
    EXPECT_EQ(facts->version.minor, edition.facts.version.minor);
    EXPECT_EQ(facts->version.build, edition.facts.version.build);
    EXPECT_EQ(facts->version.service_pack, edition.facts.version.service_pack);
    EXPECT_EQ(facts->version.product_type, edition.facts.version.product_type);
    EXPECT_EQ(facts->is_wow64, edition.facts.is_wow64);
    EXPECT_EQ(facts->environment, edition.facts.environment);

    BoxPaths paths(Box());
    std::string windows = *facts->Environment("windir");
    for (const std::string& folder :
         {windows + "\\system32", windows + "\\system32\\spool\\PRINTERS",
          *facts->Environment("TEMP")}) {
      EXPECT_TRUE(fs::is_directory(*paths.ToLinux(folder))) << folder;
    }
    EXPECT_EQ(fs::is_directory(*paths.ToLinux(windows + "\\SysWOW64")),
              name == "7x64");

    const std::vector<std::string> kMachineKeys[] = {
        {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "Run"},
        {"SYSTEM", "CurrentControlSet", "Control", "Print", "Monitors",
         "Redirected Port"},
        {"SYSTEM", "CurrentControlSet", "Control", "Print", "Printers"},
    };
    Stored(RootKey::kLocalMachine, {}, "");
    for (const auto& key : kMachineKeys) EXPECT_TRUE(hive_.Find(key));
    Stored(RootKey::kCurrentUser, {}, "");
    EXPECT_TRUE(hive_.Find(
        {"Software", "Microsoft", "Windows NT", "CurrentVersion", "Windows"}));
    EXPECT_TRUE(
        hive_.Find({"SOFTWARE", "Microsoft", "Windows", "CurrentVersion"}));
  }
}

TEST_F(PlumboxTest, Nt4TellsWorkstationFromServerInTheRegistry) {
  const std::vector<std::string> kProductOptions = {
      "SYSTEM", "CurrentControlSet", "Control", "ProductOptions"};
  for (const auto& [name, type] :
       {std::pair{"nt4", "WinNT"}, std::pair{"nt4server", "ServerNT"}}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Plumbox({"init", "--windows", name, Box()}).exit_code, 0);
    const RegistryValue* value =
        Stored(RootKey::kLocalMachine, kProductOptions, "ProductType");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->Text(), type);
  }
}

TEST_F(PlumboxTest, InitTakesTheBoxFromTheEnvironmentAndWindows7ByDefault) {
  ProgramResult result = Plumbox({"init"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  std::string error;
  std::optional<SystemFacts> facts = LoadSystemFacts(Box(), &error);
  ASSERT_TRUE(facts) << error;
  EXPECT_EQ(facts->version.build, 7601u);
  EXPECT_FALSE(facts->is_wow64);
}

TEST_F(PlumboxTest, InitReplacesABoxWholeButNoOtherFolder) {
  ASSERT_EQ(Plumbox({"init", "--windows=xp", Box()}).exit_code, 0);
  testing::WriteText(Box() + "/drive_c/left over.txt", "x");
  ASSERT_EQ(Plumbox({"init", Box()}).exit_code, 0);
  EXPECT_FALSE(fs::exists(Box() + "/drive_c/left over.txt"));
  EXPECT_TRUE(fs::exists(Box() + "/drive_c/Users"));

  testing::WriteText(folder_ / "home/notes.txt", "precious");
  ProgramResult result = Plumbox({"init", folder_ / "home"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("not a box"), std::string::npos) << result.err;
  EXPECT_EQ(testing::ReadText(folder_ / "home/notes.txt"), "precious");
}

TEST_F(PlumboxTest, BadArgumentsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> arguments;
    const char* said;
  } kRows[] = {
      {{}, "name a command"},
      {{"frobnicate"}, "not a command"},
      {{"init", "--windows", "11"}, "7x64"},
      {{"init", "--windows"}, "needs a Windows name"},
      {{"init", "a", "b"}, "one folder"},
      {{"init", "--fast"}, "--fast"},
      {{"path"}, "needs a path"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.said);
    ProgramResult result = Plumbox(row.arguments);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find(row.said), std::string::npos) << result.err;
  }
  ProgramResult help = Plumbox({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("plumbox reg add"), std::string::npos);
}

TEST_F(PlumboxTest, RegAndPathNeedABox) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"reg", "query", "HKLM\\SOFTWARE"},
        std::vector<std::string>{"path", "C:\\"}}) {
    ProgramResult result = Plumbox(arguments);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find("plumbox init"), std::string::npos) << result.err;
  }
}

class PlumboxRegTest : public PlumboxTest {
 protected:
  void SetUp() override { ASSERT_EQ(Plumbox({"init", Box()}).exit_code, 0); }
};

TEST_F(PlumboxRegTest, AddedValuesAreStoredAsWindowsStoresThem) {
  const std::string kKey = "HKCU\\Software\\Plumeta";
  Reg({"add", kKey, "/v", "Text", "/t", "REG_SZ", "/d", "C:\\Temp \"x\"",
       "/f"});
  Reg({"add", kKey, "/v", "Path", "/t", "reg_expand_sz", "/d", "%TEMP%\\x",
       "/f"});
  Reg({"add", kKey, "/v", "Decimal", "/t", "REG_DWORD", "/d", "300", "/f"});
  Reg({"add", kKey, "/v", "Hex", "/t", "REG_DWORD", "/d", "0xFFFFFFFF", "/f"});
  Reg({"add", kKey, "/v", "Bytes", "/t", "REG_BINARY", "/d", "DeAdBeEf0DD",
       "/f"});
  Reg({"add", kKey, "/ve", "/d", "default", "/f"});
  EXPECT_EQ(Reg({"add", "HKEY_CURRENT_USER\\Software\\Bare", "/f"}),
            "The operation completed successfully.\n");

  const std::vector<std::string> key = {"Software", "Plumeta"};
  const struct {
    const char* name;
    RegistryValue value;
  } kStored[] = {
      {"Text", RegistryValue::String("C:\\Temp \"x\"")},
      {"Path", RegistryValue::ExpandString("%TEMP%\\x")},
      {"Decimal", RegistryValue::FromDword(300)},
      {"Hex", RegistryValue::FromDword(0xFFFFFFFF)},
      {"Bytes", {ValueType::kBinary, "\x0d\xea\xdb\xee\xf0\xdd"}},
      {"", RegistryValue::String("default")},
  };
  for (const auto& row : kStored) {
    SCOPED_TRACE(row.name);
    const RegistryValue* value = Stored(RootKey::kCurrentUser, key, row.name);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, row.value.type);
    EXPECT_EQ(value->data, row.value.data);
  }
  // reg add KEY without /v sets the default value to an empty string.
  const RegistryValue* bare =
      Stored(RootKey::kCurrentUser, {"Software", "Bare"}, "");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->data, std::string(1, '\0'));
}

TEST_F(PlumboxRegTest, QueryPrintsAsRegExe) {
  const std::string kKey = "HKLM\\SOFTWARE\\Plumeta";
  Reg({"add", kKey, "/v", "Test1", "/d", "Hello, World", "/f"});
  Reg({"add", kKey, "/v", "Test2", "/t", "REG_DWORD", "/d", "0x123", "/f"});
  Reg({"add", kKey + "\\subkey", "/v", "Test3", "/t", "REG_BINARY", "/d",
       "01ab", "/f"});
  Reg({"add", kKey + "\\Empty", "/ve", "/t", "REG_EXPAND_SZ", "/d", "%x%",
       "/f"});

  EXPECT_EQ(Reg({"query", "hklm\\software\\plumeta"}),
            "\n"
            "HKEY_LOCAL_MACHINE\\software\\plumeta\n"
            "    Test1    REG_SZ    Hello, World\n"
            "    Test2    REG_DWORD    0x123\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\software\\plumeta\\Empty\n"
            "HKEY_LOCAL_MACHINE\\software\\plumeta\\subkey\n");
  EXPECT_EQ(Reg({"query", kKey + "\\", "/s"}),
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\n"
            "    Test1    REG_SZ    Hello, World\n"
            "    Test2    REG_DWORD    0x123\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\\Empty\n"
            "    (Default)    REG_EXPAND_SZ    %x%\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\\subkey\n"
            "    Test3    REG_BINARY    01AB\n"
            "\n");
  EXPECT_EQ(Reg({"query", kKey, "/v", "test2"}),
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\n"
            "    Test2    REG_DWORD    0x123\n"
            "\n");
  EXPECT_EQ(Reg({"query", kKey, "/ve"}),
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\n"
            "    (Default)    REG_SZ    (value not set)\n"
            "\n");
  EXPECT_EQ(Reg({"query", kKey, "/v", "Test3", "/s"}),
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta\\subkey\n"
            "    Test3    REG_BINARY    01AB\n"
            "\n"
            "End of search: 1 match(es) found.\n");
}

TEST_F(PlumboxRegTest, DeleteRemovesValuesAndKeys) {
  const std::string kKey = "HKCU\\Software\\Gone";
  Reg({"add", kKey, "/v", "A", "/d", "a", "/f"});
  Reg({"add", kKey, "/v", "B", "/d", "b", "/f"});
  Reg({"add", kKey, "/ve", "/d", "d", "/f"});
  Reg({"add", kKey + "\\Sub", "/v", "C", "/d", "c", "/f"});

  EXPECT_EQ(Reg({"delete", kKey, "/v", "a", "/f"}),
            "The operation completed successfully.\n");
  EXPECT_FALSE(Stored(RootKey::kCurrentUser, {"Software", "Gone"}, "A"));
  EXPECT_TRUE(Stored(RootKey::kCurrentUser, {"Software", "Gone"}, "B"));
  Reg({"delete", kKey, "/ve", "/f"});
  EXPECT_FALSE(Stored(RootKey::kCurrentUser, {"Software", "Gone"}, ""));
  Reg({"delete", kKey, "/va", "/f"});
  EXPECT_FALSE(Stored(RootKey::kCurrentUser, {"Software", "Gone"}, "B"));
  EXPECT_TRUE(Stored(RootKey::kCurrentUser, {"Software", "Gone", "Sub"}, "C"));
  // Without /f and without a terminal to ask at, it goes ahead.
  Reg({"delete", kKey});
  Stored(RootKey::kCurrentUser, {}, "");
  EXPECT_FALSE(hive_.Find({"Software", "Gone"}));
}

TEST_F(PlumboxRegTest, FailuresAnswerAsRegExe) {
  const std::string kNotFound =
      "ERROR: The system was unable to find the specified registry key or "
      "value.\n";
  const struct {
    std::vector<std::string> arguments;
    std::string error_start;
  } kRows[] = {
      {{"query", "HKCU\\Software\\Missing"}, kNotFound},
      {{"query", "HKCU\\Software", "/v", "Missing"}, kNotFound},
      {{"delete", "HKCU\\Software\\Missing", "/f"}, kNotFound},
      {{"delete", "HKCU\\Software", "/v", "Missing", "/f"}, kNotFound},
      {{"query", "HKCR\\x"}, "ERROR: Invalid key name."},
      {{"add", "\\HKCU\\x", "/f"}, "ERROR: Invalid key name."},
      {{"add", "HKCU\\", "/v", "x", "/f"}, "ERROR: Invalid key name."},
      {{"add", "HKCU\\a\\\\b", "/f"}, "ERROR: Invalid key name."},
      {{"delete", "HKCU", "/f"}, "ERROR: Invalid key name."},
      {{"query", "HKCU\\Software", "/v"}, "ERROR: Invalid syntax."},
      {{"query", "HKCU\\Software", "/v", "a", "/ve"}, "ERROR: Invalid syntax."},
      {{"query", "HKCU\\Software", "/s", "/s"}, "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/t", "REG_DWORD", "/f"}, "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/t", "REG_DWORD", "/d", "-1", "/f"},
       "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/t", "REG_DWORD", "/d", "4294967296", "/f"},
       "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/t", "REG_BINARY", "/d", "0x01", "/f"},
       "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/t", "REG_QWORD", "/d", "1", "/f"},
       "ERROR: Invalid syntax."},
      {{"add", "HKCU\\x", "/v", "a", "/x"}, "ERROR: Invalid syntax."},
      {{"remove", "HKCU\\x"}, "ERROR: Invalid syntax."},
  };
  for (const auto& row : kRows) {
    std::string command;
    for (const std::string& argument : row.arguments) command += argument + " ";
    SCOPED_TRACE(command);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.begin(), "reg");
    ProgramResult result = Plumbox(arguments);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err.rfind(row.error_start, 0), 0u) << result.err;
    EXPECT_EQ(result.out, "");
  }
  Stored(RootKey::kCurrentUser, {}, "");
  EXPECT_FALSE(hive_.Find({"x"}));
}

TEST_F(PlumboxRegTest, PathMapsBothWays) {
  const std::string drive_c = Box() + "/drive_c";
  ProgramResult result = Plumbox({"path", "C:\\WINDOWS\\system32\\plum.rsp",
                                  "c:\\users\\user", "Z:\\etc\\passwd"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, drive_c + "/WINDOWS/system32/plum.rsp\n" + drive_c +
                            "/Users/User\n/etc/passwd\n");

  result = Plumbox({"path", "-w", drive_c + "/WINDOWS/system32/plum.rsp",
                    "/etc/passwd", drive_c});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "C:\\WINDOWS\\system32\\plum.rsp\nZ:\\etc\\passwd\nC:\\\n");

  result = Plumbox({"path", "\\\\server\\share", "C:\\ok"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, drive_c + "/ok\n");
  EXPECT_NE(result.err.find("\\\\server\\share"), std::string::npos);
}

}  // namespace
}  // namespace plumeta::host
