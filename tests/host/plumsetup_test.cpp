// plumsetup on fresh boxes set up as Windows 98, NT 4.0, XP, 7 and 64-bit 7:
// what an installation leaves in the box's registry, folders, spooler and
// scheduled tasks, and a removal that ends a running tray monitor and takes
// it all away.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/console/console_events.h"
#include "platform/host/registry/store_registry.h"
#include "tests/host/support/background_program.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;
using platform::ValueType;
using testing::ProgramResult;

constexpr char kPrint[] = "SYSTEM\\CurrentControlSet\\Control\\Print";
constexpr char kPortKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSettingsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";

enum class Family { kNtModern, kNt4, kWin9x };

struct BoxRow {
  const char* windows;
  Family family;
  bool is_64_bit;
  bool has_logon_task;  // Vista and later
};

void PrintTo(const BoxRow& row, std::ostream* out) { *out << row.windows; }

class PlumsetupHostTest : public ::testing::TestWithParam<BoxRow> {
 protected:
  void SetUp() override {
    ProgramResult init = testing::RunProgram(
        PLUMBOX_PATH, {"init", "--windows", GetParam().windows, Box()});
    ASSERT_EQ(init.exit_code, 0) << init.err;
    std::string error;
    auto facts = host::LoadSystemFacts(Box(), &error);
    ASSERT_TRUE(facts) << error;
    windir_ = facts->Environment("windir").value_or("");
    registry_ =
        std::make_unique<host::FileRegistry>(host::RegistryFolder(Box()));
  }

  std::string Box() const { return folder_ / "box"; }

  struct Timed {
    ProgramResult result;
    double seconds;
  };
  Timed Setup(const std::vector<std::string>& arguments) {
    const auto start = std::chrono::steady_clock::now();
    ProgramResult result = testing::RunProgram(PLUMSETUP_PATH, arguments,
                                               {{host::kBoxVariable, Box()}});
    return {result, std::chrono::duration<double>(
                        std::chrono::steady_clock::now() - start)
                        .count()};
  }

  std::optional<platform::RegistryValue> Value(RootKey root,
                                               const std::string& path,
                                               const std::string& name) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry_->OpenKey(root, path, false, &key) != 0) return std::nullopt;
    platform::RegistryValue value;
    if (key->ReadValue(name, &value) != 0) return std::nullopt;
    return value;
  }
  bool KeyExists(const std::string& path) {
    std::unique_ptr<platform::RegistryKey> key;
    return registry_->OpenKey(RootKey::kLocalMachine, path, false, &key) == 0;
  }
  // The Linux file behind a path of the box, without WOW64's redirection.
  std::string File(const std::string& windows_path) {
    return host::BoxPaths(Box()).ToLinux(windows_path).value_or("");
  }
  bool FileExists(const std::string& windows_path) {
    return fs::is_regular_file(File(windows_path));
  }

  std::string DriverKey(const std::string& environment, int version) {
    return std::string(kPrint) + "\\Environments\\" + environment +
           "\\Drivers\\Version-" + std::to_string(version) + "\\Plumeta";
  }
  std::string RemovalDriverKey() {
    switch (GetParam().family) {
      case Family::kNtModern:
        return DriverKey("Windows NT x86", 3);
      case Family::kNt4:
        return DriverKey("Windows NT x86", 2);
      case Family::kWin9x:
        return DriverKey("Windows 4.0", 0);
    }
    return "";
  }

  testing::TempFolder folder_;
  std::string windir_;
  std::unique_ptr<host::FileRegistry> registry_;
};

TEST_P(PlumsetupHostTest, InstallsThePrinterForItsWindows) {
  const BoxRow& row = GetParam();
  Timed run = Setup({});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_GE(run.seconds, 4.5);  // the exit timer's five seconds

  const std::string prefix = windir_ + "\\";
  // The argument file, in the native system folder, and on 64-bit Windows
  // also in SysWOW64, where the port's 32-bit Ghostscript opens it.
  EXPECT_EQ(testing::ReadText(File(prefix + "system32\\plum.rsp")),
            "-I" + prefix + "system32\\lib;" + prefix +
                "system32\\fonts\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n"
                "-sOutputFile=" +
                prefix +
                "system32\\lib\\1024.pdf\r\n\r\n-dNOPAUSE\r\n\r\n"
                "-dSAFER\r\n\r\n-dBATCH\r\n\r\n");
  EXPECT_EQ(fs::status(File(prefix + "system32\\plum.rsp")).permissions() &
                fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FileExists(prefix + "SysWOW64\\plum.rsp"), row.is_64_bit);
  if (row.is_64_bit) {
    EXPECT_EQ(testing::ReadText(File(prefix + "SysWOW64\\plum.rsp")),
              testing::ReadText(File(prefix + "system32\\plum.rsp")));
  }

  const struct {
    const char* name;
    ValueType type;
    std::string text;
    std::uint32_t number;
  } kPortValues[] = {
      {"Arguments", ValueType::kString, "@" + prefix + "system32\\plum.rsp -",
       0},
      {"Command", ValueType::kString, prefix + "system32\\gswin32c.exe", 0},
      {"Description", ValueType::kString, "Redirected Port", 0},
      {"Printer", ValueType::kString, "", 0},
      {"Output", ValueType::kDword, "", 0},
      {"ShowWindow", ValueType::kDword, "", 2},
      {"RunUser", ValueType::kDword, "", 0},
      {"Delay", ValueType::kDword, "", 300},
      {"LogFileUse", ValueType::kDword, "", 0},
      {"LogFileName", ValueType::kString, "", 0},
      {"LogFileDebug", ValueType::kDword, "", 0},
      {"PrintError", ValueType::kDword, "", 0},
  };
  for (const auto& expected : kPortValues) {
    SCOPED_TRACE(expected.name);
    auto value = Value(RootKey::kLocalMachine, kPortKey, expected.name);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, expected.type);
    if (expected.type == ValueType::kString) {
      EXPECT_EQ(value->data, expected.text + '\0');
    } else {
      EXPECT_EQ(value->Dword(), expected.number);
    }
  }
  EXPECT_EQ(KeyExists(std::string(kPrint) + "\\Ports\\PLUM:"),
            row.family == Family::kWin9x);

  EXPECT_TRUE(KeyExists(RemovalDriverKey()));
  EXPECT_EQ(KeyExists(DriverKey("Windows x64", 3)), row.is_64_bit);
  const std::string printer = std::string(kPrint) + "\\Printers\\Plumeta";
  EXPECT_EQ(Value(RootKey::kLocalMachine, printer, "Port")->Text(), "PLUM:");
  EXPECT_EQ(Value(RootKey::kLocalMachine, printer, "Printer Driver")->Text(),
            "Plumeta");

  const bool copies = row.family != Family::kNtModern;
  EXPECT_EQ(FileExists(prefix + "gswin32c.exe"), copies);
  EXPECT_EQ(FileExists(prefix + "gsdll32.dll"), copies);
  if (row.family == Family::kNt4) {
    for (const char* folder :
         {"SYSTEM", "SYSTEM32", "SYSTEM32\\spool\\drivers\\w32x86",
          "SYSTEM32\\spool\\drivers\\w32x86\\2"}) {
      SCOPED_TRACE(folder);
      EXPECT_EQ(
          testing::ReadText(File(prefix + folder + "\\AdobePS5.dll")),
          testing::ReadText(File(prefix + "system32\\Port\\NT\\AdobePS5.dll")));
      EXPECT_TRUE(FileExists(prefix + folder + "\\PSMON.DLL"));
    }
  }
  if (row.family == Family::kWin9x) {
    for (const char* name :
         {"adfonts.mfm", "ADIST5.PPD", "ADOBEPS4.DRV", "ADOBEPS4.HLP",
          "defprtr2.ppd", "ICONLIB.DLL", "PSMON.DLL"}) {
      EXPECT_TRUE(FileExists(prefix + "SYSTEM\\" + name)) << name;
    }
  }

  std::string setup_folder = host::BoxPaths(Box()).ToWindows(
      fs::path(PLUMSETUP_PATH).parent_path().string());
  if (!setup_folder.empty() && setup_folder.back() == '\\') {
    setup_folder.pop_back();
  }
  // Started at log-on by the Run value, or from Vista on by the task.
  const std::string monitor = setup_folder + "\\Plumeta.exe";
  if (row.has_logon_task) {
    EXPECT_FALSE(Value(RootKey::kLocalMachine, kRunKey, "Plumeta"));
    EXPECT_NE(testing::ReadText(File(prefix + "system32\\Tasks\\Plumeta"))
                  .find("<Command>" + monitor + "</Command>"),
              std::string::npos);
  } else {
    EXPECT_EQ(Value(RootKey::kLocalMachine, kRunKey, "Plumeta")->Text(),
              monitor);
    EXPECT_FALSE(FileExists(prefix + "system32\\Tasks\\Plumeta"));
  }

  // The balloon: its tip 90 and 30 pixels in from the screen's bottom right
  // (the box's screen is 1024 x 768), information, 30 seconds.
  std::vector<std::vector<std::string>> balloons;
  std::istringstream events(run.result.out);
  for (std::string line; std::getline(events, line);) {
    std::vector<std::string> fields = host::SplitEventLine(line);
    if (!fields.empty() && fields[0] == "balloon") balloons.push_back(fields);
  }
  if (row.family == Family::kNt4) {
    EXPECT_TRUE(balloons.empty()) << run.result.out;
  } else {
    ASSERT_EQ(balloons.size(), 1u) << run.result.out;
    const std::vector<std::string>& balloon = balloons[0];
    ASSERT_EQ(balloon.size(), 11u);
    EXPECT_EQ(balloon[1], "934");
    EXPECT_EQ(balloon[2], "738");
    EXPECT_EQ(balloon[7], "New printer installed");
    EXPECT_EQ(balloon[8],
              "A new printer named 'Plumeta' has been installed on your "
              "system\r\nCreating a PDF file is as simple as selecting the "
              "'print' command\r\nfrom any application and choosing this "
              "printer.");
    EXPECT_EQ(balloon[9], "info");
    EXPECT_EQ(balloon[10], "30");
  }

  // Installing again leaves one printer and rewrites the port.
  ASSERT_EQ(Setup({"1025"}).result.exit_code, 0);
  std::vector<std::string> printers;
  std::unique_ptr<platform::RegistryKey> key;
  ASSERT_EQ(registry_->OpenKey(RootKey::kLocalMachine,
                               std::string(kPrint) + "\\Printers", false, &key),
            0u);
  key->SubkeyNames(&printers);
  EXPECT_EQ(printers, std::vector<std::string>{"Plumeta"});
}

TEST_P(PlumsetupHostTest, RemovalEndsTheMonitorAndTakesEverythingAway) {
  const BoxRow& row = GetParam();
  ASSERT_EQ(Setup({}).result.exit_code, 0);
  {
    std::unique_ptr<platform::RegistryKey> settings;
    ASSERT_EQ(registry_->OpenKey(RootKey::kCurrentUser, kSettingsKey, true,
                                 &settings),
              0u);
    settings->WriteString("Version", "1.4");
    settings->WriteString("UPwd", "secret");
    settings->WriteString("Unrelated", "stays");
  }
  testing::BackgroundProgram monitor(BOX_PROCESS_STANDIN_PATH, {"plumeta.exe"},
                                     {{host::kBoxVariable, Box()}});
  ASSERT_EQ(monitor.FirstLine(), "ready");

  Timed run = Setup({"1024"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_LT(run.seconds, 4.0);
  int signal_number = 0;
  EXPECT_TRUE(monitor.Ended(1000, &signal_number));
  EXPECT_EQ(signal_number, SIGTERM);

  EXPECT_FALSE(KeyExists(std::string(kPrint) + "\\Printers\\Plumeta"));
  EXPECT_FALSE(KeyExists(RemovalDriverKey()));
  EXPECT_EQ(KeyExists(DriverKey("Windows x64", 3)), row.is_64_bit);
  EXPECT_EQ(KeyExists(kPortKey), row.family == Family::kNt4);
  EXPECT_FALSE(Value(RootKey::kLocalMachine, kRunKey, "Plumeta"));
  for (const char* file : {"system32\\Tasks\\Plumeta", "system32\\plum.rsp",
                           "SysWOW64\\plum.rsp"}) {
    EXPECT_FALSE(FileExists(windir_ + "\\" + file)) << file;
  }
  EXPECT_FALSE(Value(RootKey::kCurrentUser, kSettingsKey, "Version"));
  EXPECT_FALSE(Value(RootKey::kCurrentUser, kSettingsKey, "UPwd"));
  EXPECT_TRUE(Value(RootKey::kCurrentUser, kSettingsKey, "Unrelated"));
}

TEST_P(PlumsetupHostTest, RemovalOnAFreshBoxDoesNothingVisible) {
  Timed run = Setup({"1024"});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_EQ(run.result.out, "");
  EXPECT_LT(run.seconds, 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PlumsetupHostTest,
    ::testing::Values(BoxRow{"98", Family::kWin9x, false, false},
                      BoxRow{"nt4", Family::kNt4, false, false},
                      BoxRow{"xp", Family::kNtModern, false, false},
                      BoxRow{"7", Family::kNtModern, false, true},
                      BoxRow{"7x64", Family::kNtModern, true, true}),
    [](const ::testing::TestParamInfo<BoxRow>& info) {
      return std::string("Windows_") + info.param.windows;
    });

}  // namespace
}  // namespace plumeta
