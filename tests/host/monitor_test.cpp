// The host plumeta on fresh boxes, driven through the console protocol; the
// argument files it writes are run through the real Ghostscript and the PDFs
// checked with qpdf.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "common/ghostscript_arguments.h"
#include "platform/host/box/box.h"
#include "platform/host/registry/store_registry.h"
#include "tests/host/support/child_process.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/program_run.h"
#include "tests/support/gs_argument_reader.h"
#include "tests/support/temp_folder.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;
using testing::ConsoleProgram;
using testing::ReadText;

constexpr char kSettingsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kJob[] =
    "%!PS\n/Helvetica findfont 24 scalefont setfont\n"
    "72 700 moveto (Plumeta) show showpage\n";

class MonitorTest : public ::testing::Test {
 protected:
  // A fresh box for that Windows; false when plumbox could not make it.
  bool MakeBox(const std::string& windows = "7") {
    const auto made = testing::RunProgram(
        PLUMBOX_PATH, {"init", "--windows", windows, Box()});
    registry_ =
        std::make_unique<host::FileRegistry>(host::RegistryFolder(Box()));
    return made.exit_code == 0;
  }
  std::string Box() const { return folder_ / "box"; }

  void Store(const std::string& name, const std::string& text) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(
        registry_->OpenKey(RootKey::kCurrentUser, kSettingsKey, true, &key),
        platform::kSuccess);
    ASSERT_EQ(key->WriteString(name, text), platform::kSuccess);
  }
  std::string Stored(RootKey root, const std::string& path,
                     const std::string& name) {
    std::unique_ptr<platform::RegistryKey> key;
    platform::RegistryValue value;
    if (registry_->OpenKey(root, path, false, &key) != platform::kSuccess ||
        key->ReadValue(name, &value) != platform::kSuccess) {
      return "<missing>";
    }
    return value.Text();
  }

  std::unique_ptr<ConsoleProgram> StartMonitor(
      const std::vector<std::string>& arguments = {}) {
    auto monitor = std::make_unique<ConsoleProgram>(
        PLUMETA_PATH, arguments,
        std::map<std::string, std::string>{{host::kBoxVariable, Box()}});
    // The icon goes into the tray before the start-up sequence; the window
    // stays hidden. The console answers once the sequence has run.
    EXPECT_TRUE(monitor->WaitFor("tray").has_value());
    Sync(*monitor);
    return monitor;
  }
  // Waits until every command sent so far has been handled.
  void Sync(ConsoleProgram& monitor) {
    monitor.Send("button Button4");
    ASSERT_TRUE(monitor.WaitFor("menu").has_value());
    monitor.Send("cancel");
  }

  std::string ResponseFile(const std::string& system_folder = "system32") {
    return ReadText(Box() + "/drive_c/WINDOWS/" + system_folder + "/plum.rsp");
  }
  std::vector<std::string> Arguments() {
    return testing::ReadGhostscriptArguments(ResponseFile())
        .value_or(std::vector<std::string>{"<unterminated>"});
  }

  testing::TempFolder folder_;
  std::unique_ptr<host::FileRegistry> registry_;
};

TEST_F(MonitorTest, StartWritesTheFileClicksRewriteItCloseStores) {
  ASSERT_TRUE(MakeBox());
  Store("Version", "1.2");
  Store("Quality", "Print");
  Store("Resolution", "600");
  auto monitor = StartMonitor();
  // The options, then the PostScript that runs the job (-c ... -f).
  const std::string options =
      "-ID:\\build\\plumeta\\gs\\system32\\lib;D:\\build\\plumeta\\gs\\"
      "fonts\r\n\r\n"
      "-sDEVICE=pdfwrite\r\n\r\n"
      "-sOutputFile=C:\\Users\\User\\AppData\\Local\\Temp\\1024.pdf\r\n"
      "\r\n"
      "-sstdout=C:\\Users\\User\\AppData\\Local\\Temp\\1024.log\r\n\r\n"
      "-q\r\n\r\n"
      "-dNOPAUSE\r\n\r\n-dSAFER\r\n\r\n-dBATCH\r\n\r\n-r600\r\n\r\n"
      "-dCompatibilityLevel=1.2\r\n\r\n-dPDFSETTINGS=/printer\r\n\r\n"
      "-c\r\n\r\n\"";
  const std::string file = ResponseFile();
  EXPECT_EQ(file.substr(0, options.size()), options);
  EXPECT_TRUE(file.ends_with("\"\r\n\r\n-f\r\n\r\n")) << file;
  struct stat info;
  ASSERT_EQ(
      ::stat((Box() + "/drive_c/WINDOWS/system32/plum.rsp").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // On Windows 7 the scheduled task starts the monitor: no Run value.
  EXPECT_EQ(Stored(RootKey::kLocalMachine, kRunKey, "Plumeta"), "<missing>");

  monitor->Send("click N6001");
  monitor->Send("click N12001");
  monitor->Send("button Button4");
  const auto menu = monitor->WaitFor("menu");
  ASSERT_TRUE(menu.has_value());
  EXPECT_EQ(*menu, (std::vector<std::string>{"menu", "512", "384"}));
  std::vector<std::string> ticked;
  while (monitor->WaitFor("item", std::chrono::seconds(2))) {
    const auto& item = host::SplitEventLine(monitor->seen.back());
    if (item[2].rfind("N", 0) == 0 &&
        item[4].find("checked") != std::string::npos) {
      ticked.push_back(item[2]);
    }
    if (item[2] == "Exit2") break;
  }
  EXPECT_EQ(ticked, (std::vector<std::string>{"N121", "N12001"}));
  monitor->Send("cancel");
  Sync(*monitor);
  EXPECT_EQ(Arguments()[8], "-r1200");

  // Stored only when the window closes.
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Resolution"), "600");
  monitor->Send("dblclick");
  ASSERT_TRUE(monitor->WaitFor("window").has_value());
  EXPECT_EQ(monitor->seen.back(), "window\tshown");
  monitor->Send("close");
  ASSERT_TRUE(monitor->WaitFor("window").has_value());
  EXPECT_EQ(monitor->seen.back(), "window\thidden");
  Sync(*monitor);
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Version"), "1.2");
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Quality"), "Print");
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "UPwd"), "");
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "OPwd"), "");
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Resolution"), "1200");
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Permission"),
            "11111111");
  // Closing the window never ends the program.
  EXPECT_FALSE(monitor->WaitForExit(std::chrono::milliseconds(300)));
}

TEST_F(MonitorTest, PasswordsAndPromptsThroughTheDialogs) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  monitor->Send("click UserPassword1");
  const auto input = monitor->WaitFor("input");
  ASSERT_TRUE(input.has_value());
  EXPECT_EQ(*input,
            (std::vector<std::string>{"input", "Set User Password",
                                      "Enter the User Password: ", ""}));
  monitor->Send("ok two words");
  monitor->Send("click Printdocument1");
  ASSERT_TRUE(monitor->WaitFor("input").has_value());
  EXPECT_EQ(host::SplitEventLine(monitor->seen.back())[1],
            "Owner Password Required");
  monitor->Send("ok own er");
  Sync(*monitor);
  const auto arguments = Arguments();
  ASSERT_EQ(arguments.size(), 19u);
  EXPECT_EQ(arguments[11], "-sOwnerPassword=own er");
  EXPECT_EQ(arguments[12], "-sUserPassword=two words");
  EXPECT_EQ(arguments[15], "-dPermissions#-8");

  monitor->Send("click UserPassword1");
  ASSERT_TRUE(monitor->WaitFor("input").has_value());
  monitor->Send("ok");
  const auto message = monitor->WaitFor("message");
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message,
            (std::vector<std::string>{"message", "Plumeta",
                                      "User password cleared.", "ok", "none"}));
  monitor->Send("ok");
  Sync(*monitor);
  EXPECT_EQ(Arguments().size(), 18u);
}

TEST_F(MonitorTest, ExitAskedAndAnsweredYesEndsTheProgramAndStores) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  monitor->Send("click Exit2");
  const auto question = monitor->WaitFor("message");
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ((*question)[1], "Warning");
  EXPECT_EQ((*question)[3], "yesno");
  monitor->Send("no");
  Sync(*monitor);
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Version"),
            "<missing>");
  monitor->Send("click Exit2");
  ASSERT_TRUE(monitor->WaitFor("message").has_value());
  monitor->Send("yes");
  EXPECT_EQ(monitor->WaitForExit(std::chrono::seconds(10)), 0);
  EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "Version"), "1.3");
}

TEST_F(MonitorTest, EndOfInputLeavesItRunningWithoutSpinning) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  monitor->CloseInput();
  auto cpu_ticks = [&] {
    std::ifstream stat("/proc/" + std::to_string(monitor->pid()) + "/stat");
    std::string field;
    for (int i = 0; i < 13 && stat >> field;) ++i;  // up to utime
    long user = 0, system = 0;
    stat >> user >> system;
    return user + system;
  };
  const long before = cpu_ticks();
  EXPECT_FALSE(monitor->WaitForExit(std::chrono::milliseconds(1500)));
  // 1.5 s of a busy loop would be some 150 ticks.
  EXPECT_LT(cpu_ticks() - before, 20);
}

TEST_F(MonitorTest, ReadOnlyFileStaysAndIsReported) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  const std::string path = Box() + "/drive_c/WINDOWS/system32/plum.rsp";
  const std::string before = ReadText(path);
  ASSERT_EQ(::chmod(path.c_str(), 0400), 0);
  monitor->Send("click N721");
  const auto message = monitor->WaitFor("message");
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message,
            (std::vector<std::string>{"message", "Plumeta",
                                      "File access denied.", "ok", "error"}));
  monitor->Send("ok");
  Sync(*monitor);
  EXPECT_EQ(ReadText(path), before);
  EXPECT_FALSE(fs::exists(path + ".new"));
}

// The port's 32-bit Ghostscript opens system32\plum.rsp and lands in
// SysWOW64: the same file is in both folders.
TEST_F(MonitorTest, Wow64WritesTheNativeAndThe32BitSystemFolder) {
  ASSERT_TRUE(MakeBox("7x64"));
  auto monitor = StartMonitor();
  EXPECT_NE(ResponseFile("system32"), "");
  EXPECT_EQ(ResponseFile("SysWOW64"), ResponseFile("system32"));
  struct stat info;
  ASSERT_EQ(
      ::stat((Box() + "/drive_c/WINDOWS/SysWOW64/plum.rsp").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// Runs Ghostscript on `response_file` in `folder` with the job on its
// standard input, as the printer port does; its exit code.
int RunGhostscript(const std::string& folder,
                   const std::string& response_file) {
  testing::WriteText(folder + "/job.ps", kJob);
  const int input = ::open((folder + "/job.ps").c_str(), O_RDONLY | O_CLOEXEC);
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int exit_code = testing::ExitCode(
      testing::StartChild("gs", {"-q", "@" + response_file, "-"}, {},
                          {.in = input, .out = sink}, folder));
  ::close(input);
  ::close(sink);
  return exit_code;
}

// qpdf's view of a PDF's encryption with `password`: its JSON text.
std::string EncryptionSeenBy(const std::string& pdf,
                             const std::string& password) {
  return testing::RunProgram("/usr/bin/qpdf", {"--json", "--json-key=encrypt",
                                               "--password=" + password, pdf})
      .out;
}

bool Has(const std::string& json, const std::string& entry) {
  return json.find(entry) != std::string::npos;
}

// Stored settings, the monitor's file, the real Ghostscript with the
// output path as the file names it, then qpdf on the PDF.
TEST_F(MonitorTest, GhostscriptGetsEveryValueWhole) {
  const std::string marker = folder_ / "injected";
  const struct {
    const char* label;
    std::map<std::string, std::string> stored;
    std::string temp;
    const char* header;
    // Empty when not encrypted.
    const char* permissions;
    std::string user_password;
    std::string owner_password;  // "<generated>": one nobody knows
  } kRows[] = {
      {"defaults", {}, "", "%PDF-1.3", "", "", ""},
      {"version 1.2", {{"Version", "1.2"}}, "", "%PDF-1.2", "", "", ""},
      {"version 1.4", {{"Version", "1.4"}}, "", "%PDF-1.4", "", "", ""},
      {"user password alone",
       {{"UPwd", "a b"}},
       "",
       "%PDF-1.4",
       "\"P\": -4,",
       "a b",
       "<generated>"},
      {"withheld printing alone",
       {{"Permission", "01111111"}},
       "",
       "%PDF-1.4",
       "\"P\": -8,",
       "",
       "<generated>"},
      {"nothing granted, owner password with quote and trailing backslash",
       {{"Permission", "00000000"}, {"OPwd", "o\"w \\"}},
       "",
       "%PDF-1.4",
       "\"P\": -3904,",
       "",
       "o\"w \\"},
      {"both with quotes and backslashes",
       {{"UPwd", "\"back\\slash\""}, {"OPwd", "a\\\"b"}, {"Version", "1.2"}},
       "",
       "%PDF-1.4",
       "\"P\": -4,",
       "\"back\\slash\"",
       "a\\\"b"},
      {"injected arguments",
       {{"UPwd", "x -sOutputFile=%pipe%touch " + marker},
        {"OPwd", "y\r\n-dNOSAFER\r\n-sOutputFile=%pipe%touch " + marker}},
       "",
       "%PDF-1.4",
       "\"P\": -4,",
       "x -sOutputFile=%pipe%touch " + marker,
       "y-dNOSAFER-sOutputFile=%pipe%touch " + marker},
      {"temporary folder with a space and a percent sign",
       {},
       "C:\\Users\\User\\My Temp 100%d",
       "%PDF-1.3",
       "",
       "",
       ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    fs::remove_all(Box());
    ASSERT_TRUE(MakeBox());
    for (const auto& [name, value] : row.stored) Store(name, value);
    if (!row.temp.empty()) {
      std::string ini = ReadText(Box() + "/system.ini");
      for (const char* name : {"TEMP = ", "TMP = "}) {
        const std::size_t at = ini.find(std::string("\n") + name);
        ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, name + row.temp);
      }
      testing::WriteText(Box() + "/system.ini", ini);
    }
    {
      auto monitor = StartMonitor();
      Sync(*monitor);
    }
    const std::string run = folder_ / "run";
    fs::remove_all(run);
    fs::create_directories(run);
    fs::copy_file(Box() + "/drive_c/WINDOWS/system32/plum.rsp",
                  run + "/plum.rsp");
    EXPECT_EQ(RunGhostscript(run, "plum.rsp"), 0);
    // Ghostscript here writes to the Windows path as one Linux file name:
    // the name shows exactly what reached it.
    const std::string temp =
        row.temp.empty() ? "C:\\Users\\User\\AppData\\Local\\Temp" : row.temp;
    const std::string pdf = run + "/" + temp + "\\1024.pdf";
    if (!fs::exists(pdf)) {
      ADD_FAILURE() << "no PDF from\n" << ReadText(run + "/plum.rsp");
      continue;
    }
    EXPECT_EQ(ReadText(pdf).substr(0, 8), row.header);
    EXPECT_FALSE(fs::exists(marker));

    const std::string opened = EncryptionSeenBy(pdf, row.user_password);
    if (std::string(row.permissions).empty()) {
      EXPECT_TRUE(Has(opened, "\"encrypted\": false")) << opened;
      continue;
    }
    EXPECT_TRUE(Has(opened, "\"encrypted\": true")) << opened;
    EXPECT_TRUE(Has(opened, "\"R\": 3,")) << opened;
    EXPECT_TRUE(Has(opened, "\"bits\": 128,")) << opened;
    EXPECT_TRUE(Has(opened, row.permissions)) << opened;
    EXPECT_TRUE(Has(opened, "\"userpasswordmatched\": true")) << opened;
    // With a user password, nobody else opens it.
    if (!row.user_password.empty()) {
      EXPECT_NE(
          testing::RunProgram("/usr/bin/qpdf", {"--check", pdf}).exit_code, 0);
    }
    if (row.owner_password == "<generated>") {
      const std::string rsp = ReadText(run + "/plum.rsp");
      EXPECT_NE(rsp.find("-sOwnerPassword="), std::string::npos);
      EXPECT_EQ(Stored(RootKey::kCurrentUser, kSettingsKey, "OPwd"),
                "<missing>");
    } else {
      EXPECT_TRUE(Has(EncryptionSeenBy(pdf, row.owner_password),
                      "\"ownerpasswordmatched\": true"))
          << row.owner_password;
    }
  }
}

// What the real Ghostscript reads from the argument file `plum.rsp` in
// `folder`: after the file (whose job, on standard input, is empty), -c
// prints whether SAFER was turned off and what the lines set, one value a
// line, to standard output again. When Ghostscript refuses the file, its
// complaint instead.
std::string GhostscriptReading(const std::string& folder) {
  constexpr char kPrint[] =
      "systemdict /NOSAFER known = "
      "currentpagedevice /HWResolution get 0 get = "
      "[/CompatibilityLevel /PDFSETTINGS /OutputFile /OwnerPassword "
      "/UserPassword /Permissions] "
      "{dup systemdict exch known {systemdict exch get} {pop (-)} ifelse =} "
      "forall";
  const auto run = testing::RunProgram(
      "/bin/sh",
      {"-c",
       "cd \"$1\" && exec gs -q @plum.rsp -sstdout=%stdout -c \"$2\" "
       "</dev/null",
       "sh", folder, kPrint});
  return run.exit_code == 0 ? run.out : "refused: " + run.out + run.err;
}

// Hostile values of every setting, stored in the registry or typed into the
// password dialogs, reach the real Ghostscript each as the one argument of
// its own line: SAFER stays on, the output file stays, and nothing runs.
TEST_F(MonitorTest, HostileSettingsNeverBecomeArgumentsOfTheirOwn) {
  const std::string kPipe = " -sOutputFile=%pipe%touch injected";
  const std::string kPath = "C:\\Users\\User\\AppData\\Local\\Temp\\1024.pdf";
  auto reading = [&](const std::string& level, const std::string& preset,
                     const std::string& owner, const std::string& user,
                     const std::string& permissions) {
    return "false\n1200.0\n" + level + "\n" + preset + "\n" + kPath + "\n" +
           owner + "\n" + user + "\n" + permissions + "\n";
  };
  const struct {
    const char* label;
    std::map<std::string, std::string> stored;
    std::string typed_user;
    std::string typed_owner;
    std::vector<std::string> messages;
    std::string reading;
  } kRows[] = {
      {"resolution that opens a quote, version that would close it",
       {{"Resolution", "300=\""},
        {"Version", "\" -dNOSAFER" + kPipe + " -sX="}},
       "",
       "",
       {"Invalid data for 'Version'", "Invalid data for 'Resolution'"},
       reading("1.3", "default", "-", "-", "-")},
      {"resolution with options",
       {{"Resolution", "300 -dNOSAFER" + kPipe}},
       "",
       "",
       {"Invalid data for 'Resolution'"},
       reading("1.3", "default", "-", "-", "-")},
      {"resolution with a trailing backslash",
       {{"Resolution", "300\\"}},
       "",
       "",
       {"Invalid data for 'Resolution'"},
       reading("1.3", "default", "-", "-", "-")},
      {"version with options",
       {{"Version", "1.4 -dNOSAFER" + kPipe}},
       "",
       "",
       {"Invalid data for 'Version'"},
       reading("1.3", "default", "-", "-", "-")},
      {"quality with options",
       {{"Quality", "Screen -dNOSAFER" + kPipe}},
       "",
       "",
       {"Invalid data for 'Quality'"},
       reading("1.3", "default", "-", "-", "-")},
      {"stored passwords and permission",
       {{"UPwd", "u\" -dNOSAFER -sX=\""},
        {"OPwd", "o\\\"" + kPipe + " \\"},
        {"Permission", "0\" -dNOSAFER"}},
       "",
       "",
       {},
       reading("1.4", "default", "o\\\"" + kPipe + " \\",
               "u\" -dNOSAFER -sX=\"", "-8")},
      {"typed passwords",
       {{"Permission", "01111111"}},
       "a\\\" -dNOSAFER \"",
       "\"b" + kPipe + "\\",
       {},
       reading("1.4", "default", "\"b" + kPipe + "\\", "a\\\" -dNOSAFER \"",
               "-8")},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    fs::remove_all(Box());
    ASSERT_TRUE(MakeBox());
    for (const auto& [name, value] : row.stored) Store(name, value);
    ConsoleProgram monitor(
        PLUMETA_PATH, {},
        std::map<std::string, std::string>{{host::kBoxVariable, Box()}});
    ASSERT_TRUE(monitor.WaitFor("tray").has_value());
    for (const std::string& expected : row.messages) {
      const auto message = monitor.WaitFor("message");
      ASSERT_TRUE(message.has_value());
      EXPECT_EQ((*message)[2], expected);
      monitor.Send("ok");
    }
    for (const auto& [item, typed] :
         {std::pair{"UserPassword1", row.typed_user},
          std::pair{"OwnerPassword1", row.typed_owner}}) {
      if (typed.empty()) continue;
      monitor.Send(std::string("click ") + item);
      ASSERT_TRUE(monitor.WaitFor("input").has_value());
      monitor.Send("ok " + typed);
    }
    Sync(monitor);
    const std::string run = folder_ / "run";
    fs::remove_all(run);
    fs::create_directories(run);
    fs::copy_file(Box() + "/drive_c/WINDOWS/system32/plum.rsp",
                  run + "/plum.rsp");
    EXPECT_EQ(GhostscriptReading(run), row.reading)
        << ReadText(run + "/plum.rsp");
    EXPECT_FALSE(fs::exists(run + "/injected"));
  }
}

// Storing the settings fails on the way out: the error box takes its answer
// and the program still ends.
TEST_F(MonitorTest, ExitEndsAfterTheBoxOfAFailedStore) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  testing::WriteText(host::RegistryFolder(Box()) + "/HKEY_CURRENT_USER.reg",
                     "not a hive\n");
  monitor->Send("click Exit2");
  ASSERT_TRUE(monitor->WaitFor("message").has_value());
  monitor->Send("yes");
  const auto error = monitor->WaitFor("message");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ((*error)[2], "Failed to set data for 'Version'");
  monitor->Send("ok");
  EXPECT_EQ(monitor->WaitForExit(std::chrono::seconds(10)), 0);
}

// The box's screen size, in its system.ini.
void SetScreen(const std::string& box, int width, int height) {
  const std::string path = box + "/system.ini";
  std::string text = ReadText(path);
  auto replace = [&text](const std::string& key, int value) {
    const std::size_t at = text.find("\n" + key + " = ");
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t end = text.find('\n', at + 1);
    text.replace(at + 1, end - at - 1, key + " = " + std::to_string(value));
  };
  replace("width", width);
  replace("height", height);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST_F(MonitorTest, ASecondCopyEndsAndTheFirstStays) {
  ASSERT_TRUE(MakeBox());
  auto first = StartMonitor();
  first->Send("click N6001");
  Sync(*first);
  ConsoleProgram second(
      PLUMETA_PATH, {},
      std::map<std::string, std::string>{{host::kBoxVariable, Box()}});
  EXPECT_EQ(second.WaitForExit(std::chrono::seconds(10)), 0);
  // Its icon went into the tray and out again; the first one's file stays.
  EXPECT_TRUE(second.WaitFor("tray", std::chrono::seconds(2)).has_value());
  EXPECT_NE(ResponseFile().find("\r\n-r600\r\n"), std::string::npos);
  Sync(*first);
  EXPECT_FALSE(first->WaitForExit(std::chrono::milliseconds(300)));
  // With the first one ended, a new copy runs on.
  first->Send("click Exit2");
  ASSERT_TRUE(first->WaitFor("message").has_value());
  first->Send("yes");
  ASSERT_EQ(first->WaitForExit(std::chrono::seconds(10)), 0);
  auto third = StartMonitor();
  EXPECT_FALSE(third->WaitForExit(std::chrono::milliseconds(300)));
}

TEST_F(MonitorTest, WelcomeBalloonPointsAtTheTrayOfTheBoxScreen) {
  ASSERT_TRUE(MakeBox());
  SetScreen(Box(), 1600, 900);
  auto monitor = StartMonitor({"/welcome"});
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  std::vector<std::string> balloon;
  for (const std::string& line : monitor->seen) {
    if (line.rfind("balloon\t", 0) == 0) balloon = host::SplitEventLine(line);
  }
  ASSERT_EQ(balloon.size(), 11u);
  EXPECT_EQ(balloon[1], "1510");  // the tip: 1600 - 90
  EXPECT_EQ(balloon[2], "875");   // 900 - 25
  EXPECT_EQ(balloon[7], "Plumeta");
  EXPECT_EQ(balloon[8],
            "Welcome to Plumeta\r\n"
            "Right-click the happy icon to display the menu");
  EXPECT_EQ(balloon[9], "info");
  EXPECT_EQ(balloon[10], "6");
}

TEST_F(MonitorTest, NoWelcomeBalloonWithoutArgumentOrOnNt4) {
  const struct {
    const char* windows;
    std::vector<std::string> arguments;
  } kRows[] = {
      {"7", {}},
      {"nt4", {"/welcome"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.windows);
    ASSERT_TRUE(MakeBox(row.windows));
    auto monitor = StartMonitor(row.arguments);
    for (const std::string& line : monitor->seen) {
      EXPECT_NE(line.rfind("balloon", 0), 0u) << line;
    }
  }
}

TEST_F(MonitorTest, TheTrayIconOnTheConsole) {
  ASSERT_TRUE(MakeBox());
  auto monitor = StartMonitor();
  monitor->Send("rclick");
  ASSERT_TRUE(monitor->WaitFor("menu").has_value());
  ASSERT_TRUE(monitor->WaitFor("item").has_value());
  EXPECT_EQ(host::SplitEventLine(monitor->seen.back())[2], "OpenMain1");
  monitor->Send("click OpenMain1");
  ASSERT_TRUE(monitor->WaitFor("window").has_value());
  EXPECT_EQ(monitor->seen.back(), "window\tshown");
  monitor->Send("close");
  ASSERT_TRUE(monitor->WaitFor("window").has_value());
  EXPECT_EQ(monitor->seen.back(), "window\thidden");
  monitor->Send("click HideIcon1");
  const auto deleted = monitor->WaitFor("tray");
  ASSERT_TRUE(deleted.has_value());
  EXPECT_EQ((*deleted)[1], "delete");
  // Hidden for good: the icon takes no clicks, the program runs on.
  Sync(*monitor);
  EXPECT_FALSE(monitor->WaitForExit(std::chrono::milliseconds(300)));
}

}  // namespace
}  // namespace plumeta
