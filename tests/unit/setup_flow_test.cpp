// The setup program's whole runs: the exact order of platform calls for each
// Windows family, the command line, errors ending a run, and the exit.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/errors.h"
#include "setup/logon_task.h"
#include "setup/setup_form.h"
#include "setup/setup_program.h"
#include "tests/unit/support/setup_world.h"

namespace plumeta {
namespace {

using platform::RootKey;
using testing::SetupWorld;
using testing::TestWindows;
using Lines = std::vector<std::string>;

constexpr char kPortKey[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";
constexpr char kPortsKey[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports";
constexpr char kRunKey[] =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSettingsKey[] =
    "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
constexpr char kResponseFile[] = "C:\\WINDOWS\\system32\\plum.rsp";

// A key of the log ("HKLM\\...") as the registry names it under its root.
std::string Path(const char* logged_key) { return std::string(logged_key + 5); }

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Lines PortValues() {
  const std::string key = kPortKey;
  return {
      "reg create-key " + key,
      "reg set " + key +
          "\\Arguments REG_SZ @C:\\WINDOWS\\system32\\plum.rsp -",
      "reg set " + key + "\\Command REG_SZ C:\\WINDOWS\\system32\\gswin32c.exe",
      "reg set " + key + "\\Description REG_SZ Redirected Port",
      "reg set " + key + "\\Printer REG_SZ ",
      "reg set " + key + "\\Output REG_DWORD 0",
      "reg set " + key + "\\ShowWindow REG_DWORD 2",
      "reg set " + key + "\\RunUser REG_DWORD 0",
      "reg set " + key + "\\Delay REG_DWORD 300",
      "reg set " + key + "\\LogFileUse REG_DWORD 0",
      "reg set " + key + "\\LogFileName REG_SZ ",
      "reg set " + key + "\\LogFileDebug REG_DWORD 0",
      "reg set " + key + "\\PrintError REG_DWORD 0",
  };
}

Lines GhostscriptCopies() {
  return {
      "file copy C:\\WINDOWS\\system32\\gswin32c.exe -> "
      "C:\\WINDOWS\\gswin32c.exe overwrite",
      "file copy C:\\WINDOWS\\system32\\gsdll32.dll -> "
      "C:\\WINDOWS\\gsdll32.dll overwrite",
  };
}

std::string ShellCopy(const Lines& sources, const std::string& to) {
  std::string joined;
  for (const std::string& source : sources) {
    joined += (joined.empty() ? "" : ";") + source;
  }
  return "shell file-operation 2 " + joined + " -> " + to + " flags 529";
}

const Lines kNt4Sources = {
    "C:\\WINDOWS\\system32\\Port\\NT\\AdobePS5.dll",
    "C:\\WINDOWS\\system32\\Port\\NT\\AdobePS5.ntf",
    "C:\\WINDOWS\\system32\\Port\\NT\\AdobePSu.dll",
    "C:\\WINDOWS\\system32\\Port\\NT\\ADOBEPSU.HLP",
    "C:\\WINDOWS\\system32\\Port\\NT\\defprtr2.ppd",
    "C:\\WINDOWS\\system32\\Port\\NT\\ADIST5.PPD",
    "C:\\WINDOWS\\system32\\Port\\NT\\ICONLIB.DLL",
    "C:\\WINDOWS\\system32\\Port\\NT\\PSMON.DLL",
};

const Lines k9xSources = {
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\adfonts.mfm",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\ADIST5.PPD",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\ADOBEPS4.DRV",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\ADOBEPS4.HLP",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\defprtr2.ppd",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\ICONLIB.DLL",
    "C:\\WINDOWS\\SYSTEM32\\Port\\Me\\PSMON.DLL",
};

const Lines kPrinter = {
    "spooler enum-printers 0x2 level 4",
    "spooler add-printer |Plumeta|Plumeta|PLUM:|Plumeta||Local computer||"
    "WinPrint|RAW||0|0|0|0|0|0|0|0",
};

const Lines kBalloon = {
    "balloon New printer installed|"
    "A new printer named 'Plumeta' has been installed on your system/"
    "Creating a PDF file is as simple as selecting the 'print' command/"
    "from any application and choosing this printer.|1190,994|30s|"
    "position 0|kind 0",
};

const Lines kStartupEntry = {
    std::string("reg create-key ") + kRunKey,
    std::string("reg set ") + kRunKey +
        "\\Plumeta REG_SZ C:\\Setup\\Plumeta.exe",
    "app set-timer 5000",
};

// From Vista on: the task, and no Run value.
const Lines kLogonTask = {
    "task register Plumeta",
    std::string("reg create-key ") + kRunKey,
    "app set-timer 5000",
};

const Lines kWriteResponseFile = {std::string("file write ") + kResponseFile +
                                  " admins-only"};
constexpr char kWow64ResponseFile[] = "C:\\WINDOWS\\SysWOW64\\plum.rsp";

struct FamilyRow {
  const char* name;
  TestWindows windows;
  Lines install;
  Lines removal;  // with a tray monitor (id 7) that ends when terminated
};

const Lines kStopMonitor = {
    "processes snapshot",    "processes snapshot",  "processes open 7",
    "process terminate 7 0", "process wait 7 5000", "app process-messages",
    "process close 7",
};

Lines RemovePrinter(const std::string& environment) {
  return {"spooler open Plumeta 0xF000C", "spooler delete-printer Plumeta",
          "spooler close Plumeta",
          "spooler delete-driver " + environment + "|Plumeta"};
}

const Lines kRemovePort = {std::string("reg delete-tree ") + kPortKey,
                           std::string("reg delete-tree ") + kPortsKey};

const Lines kRemoveRunValue = {std::string("reg delete-value ") + kRunKey +
                               "\\Plumeta"};

const Lines kRemoveSettingsAndFile = {
    std::string("reg delete-value ") + kSettingsKey + "\\Permission",
    std::string("reg delete-value ") + kSettingsKey + "\\Quality",
    std::string("reg delete-value ") + kSettingsKey + "\\UPwd",
    std::string("file delete ") + kResponseFile,
};

const Lines kEndRemoval = {"app set-timer 2000", "app terminate"};

std::vector<FamilyRow> FamilyRows() {
  const std::string nt_driver =
      "spooler add-driver Windows NT x86|3|Plumeta|pscript5.dll|plumeta.ppd|"
      "ps5ui.dll";
  return {
      {"Windows 7", TestWindows::kSeven,
       kWriteResponseFile + PortValues() + Lines{nt_driver} + kPrinter +
           kBalloon + kLogonTask,
       kStopMonitor + RemovePrinter("Windows NT x86") + kRemovePort +
           kRemoveSettingsAndFile + Lines{"task delete Plumeta"} + kEndRemoval},
      {"Windows 7 64-bit", TestWindows::kSevenX64,
       Lines{"system redirection off"} + kWriteResponseFile +
           Lines{"system redirection on", std::string("file write ") +
                                              kWow64ResponseFile +
                                              " admins-only"} +
           PortValues() +
           Lines{nt_driver,
                 "spooler add-driver Windows x64|3|Plumeta|pscript5.dll|"
                 "plumeta.ppd|ps5ui.dll"} +
           kPrinter + kBalloon + kLogonTask,
       kStopMonitor + RemovePrinter("Windows NT x86") + kRemovePort +
           Lines{kRemoveSettingsAndFile[0], kRemoveSettingsAndFile[1],
                 kRemoveSettingsAndFile[2], "system redirection off",
                 kRemoveSettingsAndFile[3], "system redirection on",
                 std::string("file delete ") + kWow64ResponseFile,
                 "task delete Plumeta"} +
           kEndRemoval},
      {"Windows NT 4.0", TestWindows::kNt4,
       kWriteResponseFile + PortValues() + GhostscriptCopies() +
           Lines{
               ShellCopy(kNt4Sources, "C:\\WINDOWS\\SYSTEM\\"),
               ShellCopy(kNt4Sources, "C:\\WINDOWS\\SYSTEM32\\"),
               ShellCopy(kNt4Sources,
                         "C:\\WINDOWS\\SYSTEM32\\spool\\drivers\\w32x86\\"),
               ShellCopy(kNt4Sources,
                         "C:\\WINDOWS\\SYSTEM32\\spool\\drivers\\w32x86\\2\\"),
               "spooler add-driver Windows NT x86|2|Plumeta|AdobePS5.dll|"
               "adist5.ppd|AdobePSu.dll"} +
           kPrinter + kStartupEntry,
       kStopMonitor + Lines{"processes snapshot"} +
           RemovePrinter("Windows NT x86") + kRemoveRunValue +
           kRemoveSettingsAndFile + kEndRemoval},
      {"Windows 98", TestWindows::k98,
       kWriteResponseFile + PortValues() +
           Lines{"reg create-key HKLM\\SYSTEM\\CurrentControlSet\\Control\\"
                 "Print\\Ports\\PLUM:"} +
           GhostscriptCopies() +
           Lines{ShellCopy(k9xSources, "C:\\WINDOWS\\SYSTEM\\"),
                 "spooler add-driver Windows 4.0|0|Plumeta|adobeps4.drv|"
                 "adist5.ppd|adobeps4.drv"} +
           kPrinter + kBalloon + kStartupEntry,
       kStopMonitor + Lines{"processes snapshot"} +
           RemovePrinter("Windows 4.0") + kRemovePort + kRemoveRunValue +
           kRemoveSettingsAndFile + kEndRemoval},
  };
}

void ExpectLines(const Lines& actual, const Lines& expected) {
  for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
    SCOPED_TRACE(::testing::Message() << "call " << i);
    EXPECT_EQ(i < actual.size() ? actual[i] : "(none)",
              i < expected.size() ? expected[i] : "(none)");
  }
}

TEST(SetupFlowTest, InstallationMakesTheFamilysCallsInOrder) {
  for (const FamilyRow& row : FamilyRows()) {
    SCOPED_TRACE(row.name);
    SetupWorld world(row.windows);
    setup::TForm1 form(world.Services(), world.Balloon(), {});
    form.FormCreate();
    ExpectLines(world.log.calls(), row.install);
    EXPECT_EQ(form.SetupDone(), 1);
    EXPECT_TRUE(form.Timer1().Enabled());
    EXPECT_EQ(form.Timer1().Interval(), 5000u);
    EXPECT_FALSE(world.application.terminated);
    ASSERT_EQ(world.spooler.printers.size(), 1u);
  }
}

TEST(SetupFlowTest, RemovalMakesTheFamilysCallsInOrder) {
  for (const FamilyRow& row : FamilyRows()) {
    SCOPED_TRACE(row.name);
    SetupWorld world(row.windows);
    setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
    world.SetValue(RootKey::kCurrentUser, Path(kSettingsKey), "Permission",
                   "11111111");
    world.SetValue(RootKey::kCurrentUser, Path(kSettingsKey), "Quality",
                   "Print");
    world.SetValue(RootKey::kCurrentUser, Path(kSettingsKey), "UPwd", "secret");
    world.SetValue(RootKey::kCurrentUser, Path(kSettingsKey), "Other", "stays");
    world.processes.running = {{4, "explorer.exe"}, {7, "plumeta.exe"}};
    world.log.Clear();

    setup::TForm1 form(world.Services(), world.Balloon(), {"1024"});
    form.FormCreate();

    ExpectLines(world.log.calls(), row.removal);
    EXPECT_EQ(form.SetupDone(), 1);
    EXPECT_TRUE(form.Timer1().Enabled());
    EXPECT_EQ(form.Timer1().Interval(), 2000u);
    EXPECT_TRUE(world.spooler.printers.empty());
    EXPECT_EQ(world.Value(RootKey::kCurrentUser, Path(kSettingsKey), "Other"),
              "stays");
    EXPECT_FALSE(world.processes.IsRunning(7));
    EXPECT_TRUE(world.processes.IsRunning(4));
  }
}

TEST(SetupFlowTest, TheFirstArgumentAloneChoosesRemoval) {
  const struct {
    Lines arguments;
    bool removes;
  } kRows[] = {
      {{}, false},        {{"1024"}, true},      {{"1025"}, false},
      {{"/u"}, false},    {{"1024", "x"}, true}, {{"x", "1024"}, false},
      {{"01024"}, false}, {{"1024 "}, false},    {{""}, false},
  };
  for (const auto& row : kRows) {
    std::string name;
    for (const std::string& argument : row.arguments)
      name += "[" + argument + "]";
    SCOPED_TRACE(name);
    SetupWorld world;
    setup::TForm1 form(world.Services(), world.Balloon(), row.arguments);
    form.FormCreate();
    EXPECT_EQ(world.spooler.printers.empty(), row.removes);
    EXPECT_EQ(world.application.terminated, row.removes);
  }
}

TEST(SetupFlowTest, ExitTimerEndsTheProgramOnlyOnceSetupIsDone) {
  SetupWorld world;
  setup::TForm1 form(world.Services(), world.Balloon(), {});
  form.Timer1Timer();
  EXPECT_FALSE(world.application.terminated);

  form.FormCreate();
  form.Timer1Timer();
  EXPECT_TRUE(world.application.terminated);
  EXPECT_FALSE(form.Timer1().Enabled());
  EXPECT_TRUE(world.application.timers.empty());
}

TEST(SetupFlowTest,
     ProgramEndsFiveSecondsAfterInstallingAndAtOnceAfterRemoving) {
  const struct {
    const char* name;
    Lines arguments;
    std::uint64_t ends_at_ms;
  } kRows[] = {{"install", {}, 5000}, {"remove", {"1024"}, 0}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    EXPECT_EQ(setup::RunSetupProgram(world.Services(), world.ui,
                                     world.Balloon(), row.arguments),
              0);
    EXPECT_EQ(world.application.title, "Printer Setup");
    EXPECT_TRUE(world.application.ran);
    EXPECT_TRUE(world.application.terminated);
    EXPECT_EQ(world.application.now_ms, row.ends_at_ms);
    EXPECT_TRUE(world.ui.messages.empty());
  }
}

TEST(SetupFlowTest, RemovalOnAnEmptySystemChangesNothingAndEndsAtOnce) {
  for (TestWindows windows :
       {TestWindows::kSeven, TestWindows::kNt4, TestWindows::k98}) {
    SCOPED_TRACE(static_cast<int>(windows));
    SetupWorld world(windows);
    EXPECT_EQ(setup::RunSetupProgram(world.Services(), world.ui,
                                     world.Balloon(), {"1024"}),
              0);
    for (const std::string& call : world.log.calls()) {
      EXPECT_EQ(call.find("delete-value"), std::string::npos) << call;
      EXPECT_EQ(call.find("delete-printer"), std::string::npos) << call;
      EXPECT_EQ(call.find("process terminate"), std::string::npos) << call;
    }
    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_EQ(world.application.now_ms, 0u);
  }
}

TEST(SetupFlowTest,
     InstallingTwiceLeavesOnePrinterEvenWhereTheSpoolerAllowsTwo) {
  SetupWorld world;
  world.spooler.allow_duplicate_printers = true;
  setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
  world.spooler.printers[0].info.comment = "changed by the user";
  world.SetValue(RootKey::kLocalMachine, Path(kPortKey), "Delay", "stale");
  setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
  ASSERT_EQ(world.spooler.printers.size(), 1u);
  EXPECT_EQ(world.spooler.printers[0].info.comment, "changed by the user");
  EXPECT_EQ(world.Value(RootKey::kLocalMachine, Path(kPortKey), "Delay"),
            "300");
}

TEST(SetupFlowTest, NoDriverMeansNoPrinterYetTheRunGoesOn) {
  SetupWorld world;
  world.spooler.caller_environment = "Windows IA64";
  setup::TForm1 form(world.Services(), world.Balloon(), {});
  form.FormCreate();
  EXPECT_TRUE(world.spooler.printers.empty());
  EXPECT_EQ(form.SetupDone(), 1);
  EXPECT_EQ(world.log.calls().back(), "app set-timer 5000");
}

// Each row makes one step fail; the run must end at that step with the
// error's text in the box and no later platform call.
TEST(SetupFlowTest, AnErrorEndsTheRunWithItsTextAndNothingAfter) {
  struct Row {
    const char* name;
    Lines arguments;
    std::function<void(SetupWorld&)> arrange;
    std::string last_call;
    std::string text;
  };
  const Row kRows[] = {
      {"response file access denied",
       {},
       [](SetupWorld& w) { w.files.write_failures[kResponseFile] = 5; },
       std::string("file write ") + kResponseFile + " admins-only",
       "File access denied."},
      {"response file, code without a text",
       {},
       [](SetupWorld& w) { w.files.write_failures[kResponseFile] = 1784; },
       std::string("file write ") + kResponseFile + " admins-only",
       "I/O error 1784."},
      {"port key cannot be opened",
       {},
       [](SetupWorld& w) {
         w.recording_registry.failing_key = kPortKey;
         w.recording_registry.fail_open = true;
       },
       std::string("file write ") + kResponseFile + " admins-only",
       "Failed to set data for 'Arguments'"},
      {"port value cannot be written",
       {},
       [](SetupWorld& w) { w.recording_registry.failing_key = kPortKey; },
       std::string("reg set ") + kPortKey +
           "\\Arguments REG_SZ @C:\\WINDOWS\\system32\\plum.rsp -",
       "Failed to set data for 'Arguments'"},
      {"run value cannot be written (before Vista)",
       {},
       [](SetupWorld& w) {
         w.Become(TestWindows::kNt4);
         w.recording_registry.failing_key = kRunKey;
       },
       std::string("reg set ") + kRunKey +
           "\\Plumeta REG_SZ C:\\Setup\\Plumeta.exe",
       "Failed to set data for 'Plumeta'"},
      {"task cannot be registered (from Vista on)",
       {},
       [](SetupWorld& w) { w.task_scheduler.failure = 5; },
       "task register Plumeta",
       "System Error.  Code: 5.\r\nAccess is denied."},
      {"argument file cannot be deleted",
       {"1024"},
       [](SetupWorld& w) {
         w.files.files[kResponseFile] = "-dSAFER";
         w.files.in_use.insert(kResponseFile);
       },
       std::string("file delete ") + kResponseFile,
       "I/O error 32."},
      {"task cannot be deleted",
       {"1024"},
       [](SetupWorld& w) { w.task_scheduler.failure = 5; },
       "task delete Plumeta",
       "System Error.  Code: 5.\r\nAccess is denied."},
      {"wait for the monitor fails",
       {"1024"},
       [](SetupWorld& w) {
         w.processes.running = {{7, "plumeta.exe"}};
         w.processes.scripts[7].wait_result = platform::WaitResult::kFailed;
         w.processes.scripts[7].wait_error = 5;
       },
       "process close 7",
       "System Error.  Code: 5.\r\nAccess is denied."},
      {"monitor cannot be opened",
       {"1024"},
       [](SetupWorld& w) {
         w.processes.running = {{7, "plumeta.exe"}};
         w.processes.scripts[7].open_error = 5;
       },
       "processes snapshot",
       "System Error.  Code: 5.\r\nAccess is denied."},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    row.arrange(world);
    EXPECT_EQ(setup::RunSetupProgram(world.Services(), world.ui,
                                     world.Balloon(), row.arguments),
              1);
    ASSERT_EQ(world.ui.messages.size(), 1u);
    EXPECT_EQ(world.ui.messages[0].text, row.text);
    EXPECT_EQ(world.ui.messages[0].caption, "Printer Setup");
    EXPECT_EQ(world.ui.messages[0].icon, platform::MessageIcon::kError);
    EXPECT_EQ(world.ui.messages[0].buttons, platform::MessageButtons::kOk);
    ASSERT_FALSE(world.log.calls().empty());
    EXPECT_EQ(world.log.calls().back(), row.last_call);
    EXPECT_FALSE(world.application.ran);
    EXPECT_TRUE(world.application.timers.empty());

    // Unattended, the same reason goes to the log as one line, no box.
    SetupWorld unattended;
    row.arrange(unattended);
    const std::string log_file = "C:\\WINDOWS\\Plumeta-setup.log";
    unattended.files.files[log_file] = "Running plumsetup.exe";
    Lines arguments = row.arguments;
    arguments.insert(arguments.end(), {"/LOG", log_file});
    EXPECT_EQ(setup::RunSetupProgram(unattended.Services(), unattended.ui,
                                     unattended.Balloon(), arguments),
              1);
    EXPECT_TRUE(unattended.ui.messages.empty());
    std::string line = row.text;
    if (const auto at = line.find("\r\n"); at != std::string::npos) {
      line.replace(at, 2, " ");
    }
    EXPECT_EQ(unattended.files.files[log_file],
              "Running plumsetup.exe\r\nplumsetup: " + line + "\r\n");
  }
}

TEST(SetupFlowTest, AFailedRunLeavesSetupUndoneAndTheTimerOff) {
  SetupWorld world;
  world.task_scheduler.failure = 5;
  setup::TForm1 form(world.Services(), world.Balloon(), {});
  EXPECT_THROW(form.FormCreate(), PlumetaError);
  EXPECT_EQ(form.SetupDone(), 0);
  EXPECT_FALSE(form.Timer1().Enabled());
  EXPECT_EQ(world.spooler.printers.size(), 1u);  // nothing is undone
}

TEST(SetupFlowTest, RedirectionComesBackOnWhenTheResponseFileFails) {
  SetupWorld world(TestWindows::kSevenX64);
  world.files.write_failures[kResponseFile] = 5;
  setup::TForm1 form(world.Services(), world.Balloon(), {});
  EXPECT_THROW(form.FormCreate(), InOutError);
  // The 32-bit copy is written all the same; the one error ends the run.
  ExpectLines(world.log.calls(),
              Lines{"system redirection off"} + kWriteResponseFile +
                  Lines{"system redirection on", std::string("file write ") +
                                                     kWow64ResponseFile +
                                                     " admins-only"});
}

TEST(SetupFlowTest, FromVistaOnTheTaskStartsTheMonitorAndAnOldRunValueGoes) {
  SetupWorld world;
  world.SetValue(RootKey::kLocalMachine, Path(kRunKey), "Plumeta",
                 "C:\\Old\\Plumeta.exe");
  setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
  EXPECT_EQ(
      world.task_scheduler.tasks,
      (std::map<std::string, std::string>{
          {"Plumeta", setup::LogonTaskDefinition("C:\\Setup\\Plumeta.exe")}}));
  EXPECT_FALSE(world.Value(RootKey::kLocalMachine, Path(kRunKey), "Plumeta"));
  setup::TForm1(world.Services(), world.Balloon(), {"1024"}).FormCreate();
  EXPECT_TRUE(world.task_scheduler.tasks.empty());
}

// The monitor may end by itself between the look-up and the open: the
// removal must still take everything away.
TEST(SetupFlowTest, AMonitorThatEndsMeanwhileDoesNotStopTheRemoval) {
  const struct {
    const char* name;
    bool gone_before_second_lookup;
  } kRows[] = {{"between the open and the look-up", false},
               {"between the two look-ups", true}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
    world.processes.running = {{7, "plumeta.exe"}};
    int snapshots = 0;
    world.processes.after_snapshot = [&](testing::FakeProcesses& processes) {
      if (++snapshots == (row.gone_before_second_lookup ? 1 : 2)) {
        processes.End(7);
      }
    };
    EXPECT_EQ(setup::RunSetupProgram(world.Services(), world.ui,
                                     world.Balloon(), {"1024"}),
              0);
    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_TRUE(world.spooler.printers.empty());
    EXPECT_FALSE(world.KeyExists(RootKey::kLocalMachine, Path(kPortKey)));
    EXPECT_FALSE(world.Value(RootKey::kLocalMachine, Path(kRunKey), "Plumeta"));
  }
}

TEST(SetupFlowTest, AMonitorThatOutlivesTheWaitIsLeftAndTheRemovalGoesOn) {
  SetupWorld world(TestWindows::kNt4);
  world.processes.running = {{7, "plumeta.exe"}};
  world.processes.scripts[7].ends_when_terminated = false;
  world.processes.scripts[7].wait_result = platform::WaitResult::kTimedOut;
  setup::TForm1 form(world.Services(), world.Balloon(), {"1024"});
  form.FormCreate();
  int terminations = 0;
  for (const std::string& call : world.log.calls()) {
    terminations += call == "process terminate 7 0";
    EXPECT_NE(call, "app process-messages");
  }
  EXPECT_EQ(terminations, 2);  // two attempts on NT 4.0
  EXPECT_EQ(form.SetupDone(), 1);
}

}  // namespace
}  // namespace plumeta
