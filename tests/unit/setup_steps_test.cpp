// The setup program's steps one by one: the file-operation component, the
// process look-up and stop, the argument file, the port's removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "setup/file_operator.h"
#include "setup/hand_over.h"
#include "setup/port_and_printer.h"
#include "tests/unit/support/setup_world.h"

namespace plumeta {
namespace {

using platform::RootKey;
using platform::WaitResult;
using testing::SetupWorld;

TEST(FileOperatorTest, ExecuteHandsTheWholeListToOneShellCall) {
  SetupWorld world;
  setup::TFileOperator fo1(world.shell);
  fo1.SetFlags(0x0211);
  fo1.FilesFrom() = {"a.dll", "b.ppd"};
  fo1.SetDirFrom("C:\\src");
  fo1.SetDirTo("C:\\dst\\");
  EXPECT_TRUE(fo1.Execute());
  EXPECT_EQ(fo1.DirFrom(), "C:\\src\\");
  EXPECT_EQ(world.shell.current_folders, std::vector<std::string>{"C:\\src\\"});
  ASSERT_EQ(world.shell.operations.size(), 1u);
  const platform::FileOperation& operation = world.shell.operations[0];
  EXPECT_EQ(operation.function, platform::FileFunction::kCopy);
  EXPECT_EQ(operation.from,
            (std::vector<std::string>{"C:\\src\\a.dll", "C:\\src\\b.ppd"}));
  EXPECT_EQ(operation.to, "C:\\dst\\");
  EXPECT_EQ(operation.flags, 0x0211);
  EXPECT_EQ(operation.progress_title, "Copying...");
}

TEST(FileOperatorTest, ExecuteRefusesOrSkipsAsTheComponentDoes) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::string dir_from;
    std::string dir_to;
    setup::FileOperatorOperation operation;
    bool folder_exists;
    int shell_result;
    const char* error;  // null: no error
    bool result;
    std::size_t shell_calls;
  } kRows[] = {
      {"no destination",
       {"a"},
       "",
       "",
       setup::FileOperatorOperation::opCopyFile,
       true,
       0,
       setup::kDirectoryInformationInvalid,
       false,
       0},
      {"delete needs none",
       {"a"},
       "",
       "",
       setup::FileOperatorOperation::opDeleteFile,
       true,
       0,
       nullptr,
       true,
       1},
      {"missing source folder",
       {"a"},
       "C:\\gone",
       "C:\\d",
       setup::FileOperatorOperation::opCopyFile,
       false,
       0,
       setup::kCannotLocateCurrentDirectory,
       false,
       0},
      {"empty list",
       {},
       "",
       "C:\\d",
       setup::FileOperatorOperation::opCopyFile,
       true,
       0,
       nullptr,
       false,
       0},
      {"shell fails",
       {"a", "b"},
       "",
       "C:\\d",
       setup::FileOperatorOperation::opCopyFile,
       true,
       0x402,
       nullptr,
       false,
       1},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    world.shell.current_folder_exists = row.folder_exists;
    world.shell.file_operation_result = row.shell_result;
    setup::TFileOperator fo1(world.shell);
    fo1.FilesFrom() = row.files;
    fo1.SetDirFrom(row.dir_from);
    fo1.SetDirTo(row.dir_to);
    fo1.SetOperation(row.operation);
    if (row.error != nullptr) {
      try {
        fo1.Execute();
        ADD_FAILURE() << "no error";
      } catch (const PlumetaError& error) {
        EXPECT_STREQ(error.what(), row.error);
      }
    } else {
      EXPECT_EQ(fo1.Execute(), row.result);
    }
    EXPECT_EQ(world.shell.operations.size(), row.shell_calls);
  }
}

TEST(FindProcessByExeNameTest, LastCaseSensitiveSubstringMatchWins) {
  const struct {
    const char* name;
    std::vector<platform::ProcessEntry> running;
    std::optional<platform::ProcessId> found;
  } kRows[] = {
      {"none", {{4, "explorer.exe"}}, std::nullopt},
      {"capital P is another name", {{9, "Plumeta.exe"}}, std::nullopt},
      {"upper case", {{9, "PLUMETA.EXE"}}, std::nullopt},
      {"exact", {{4, "explorer.exe"}, {9, "plumeta.exe"}}, 9},
      {"contained", {{12, "plumeta.exe.old"}}, 12},
      {"last of several",
       {{30, "plumeta.exe"}, {4, "explorer.exe"}, {11, "xplumeta.exe"}},
       11},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    testing::FakeProcesses processes;
    processes.running = row.running;
    EXPECT_EQ(setup::FindProcessByExeName(processes, "plumeta.exe"), row.found);
  }
}

TEST(FindProcessByExeNameTest, NoSnapshotFindsNothing) {
  testing::FakeProcesses processes;
  processes.running = {{9, "plumeta.exe"}};
  processes.snapshot_error = platform::kErrorAccessDenied;
  EXPECT_EQ(setup::FindProcessByExeName(processes, "plumeta.exe"),
            std::nullopt);
}

TEST(StopProcessTest, OutcomesOfTheOpenAndTheWait) {
  struct Row {
    const char* name;
    bool running;
    testing::FakeProcesses::Script script;
    std::vector<std::string> calls;
    const char* error;  // null: none
  };
  const Row kRows[] = {
      {"ends in time",
       true,
       {},
       {"processes open 9", "process terminate 9 0", "process wait 9 5000",
        "app process-messages", "process close 9"},
       nullptr},
      {"outlives the wait",
       true,
       {platform::kSuccess, false, WaitResult::kTimedOut, 0},
       {"processes open 9", "process terminate 9 0", "process wait 9 5000",
        "process close 9"},
       nullptr},
      {"wait fails",
       true,
       {platform::kSuccess, true, WaitResult::kFailed, 6},
       {"processes open 9", "process terminate 9 0", "process wait 9 5000",
        "process close 9"},
       "System Error.  Code: 6.\r\n"},
      {"vanished: no such process", false, {}, {"processes open 9"}, nullptr},
      {"vanished: other code, gone from a new snapshot",
       false,
       {platform::kErrorAccessDenied, true, WaitResult::kSignalled, 0},
       {"processes open 9", "processes snapshot"},
       nullptr},
      {"cannot be opened while running",
       true,
       {platform::kErrorAccessDenied, true, WaitResult::kSignalled, 0},
       {"processes open 9", "processes snapshot"},
       "System Error.  Code: 5.\r\nAccess is denied"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    if (row.running) world.processes.running = {{9, "plumeta.exe"}};
    world.processes.scripts[9] = row.script;
    if (row.error == nullptr) {
      EXPECT_NO_THROW(setup::StopProcess(world.processes, world.application,
                                         world.system, 9));
    } else {
      try {
        setup::StopProcess(world.processes, world.application, world.system, 9);
        ADD_FAILURE() << "no error";
      } catch (const OsError& error) {
        EXPECT_EQ(std::string(error.what()), row.error);
      }
    }
    EXPECT_EQ(world.log.calls(), row.calls);
  }
}

TEST(FirstResponseFileTest, TwelveLinesFromTheWindowsFolder) {
  EXPECT_EQ(setup::FirstResponseFileContent("C:\\WINDOWS\\"),
            "-IC:\\WINDOWS\\system32\\lib;C:\\WINDOWS\\system32\\fonts\r\n\r\n"
            "-sDEVICE=pdfwrite\r\n\r\n"
            "-sOutputFile=C:\\WINDOWS\\system32\\lib\\1024.pdf\r\n\r\n"
            "-dNOPAUSE\r\n\r\n"
            "-dSAFER\r\n\r\n"
            "-dBATCH\r\n\r\n");
}

TEST(FirstResponseFileTest, ReplacesAnOlderFileWhole) {
  SetupWorld world;
  world.files.files["D:\\W\\system32\\plum.rsp"] =
      "-dOld\r\n\r\n" + std::string(500, 'x');
  setup::WriteFirstResponseFile(world.files, "D:\\W\\");
  EXPECT_EQ(world.log.calls(),
            (std::vector<std::string>{
                "file delete D:\\W\\system32\\plum.rsp",
                "file write D:\\W\\system32\\plum.rsp admins-only"}));
  EXPECT_EQ(world.files.files["D:\\W\\system32\\plum.rsp"],
            setup::FirstResponseFileContent("D:\\W\\"));
}

TEST(FirstResponseFileTest, WithoutWindirThePathsStartAtTheRoot) {
  SetupWorld world;
  world.system.environment.erase("windir");
  setup::TForm1(world.Services(), world.Balloon(), {}).FormCreate();
  EXPECT_TRUE(world.files.Exists("\\system32\\plum.rsp"));
  EXPECT_EQ(world.Value(RootKey::kLocalMachine,
                        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\"
                        "Redirected Port\\Ports\\PLUM:",
                        "Command"),
            "\\system32\\gswin32c.exe");
}

TEST(PortRemovalTest, TheMonitorsPortsKeyGoesOnlyWhenNothingElseIsInIt) {
  const std::string ports =
      "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
      "Port\\Ports";
  const struct {
    const char* name;
    std::function<void(SetupWorld&)> arrange;
    bool ports_key_stays;
  } kRows[] = {
      {"alone", [](SetupWorld&) {}, false},
      {"another port",
       [&](SetupWorld& w) {
         w.SetValue(RootKey::kLocalMachine, ports + "\\RPT1:", "Command", "x");
       },
       true},
      {"a value of its own",
       [&](SetupWorld& w) {
         w.SetValue(RootKey::kLocalMachine, ports, "Note", "x");
       },
       true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    SetupWorld world;
    setup::WritePortConfiguration(world.registry, "C:\\WINDOWS\\");
    row.arrange(world);
    setup::RemovePortConfiguration(world.registry);
    EXPECT_FALSE(world.KeyExists(RootKey::kLocalMachine, ports + "\\PLUM:"));
    EXPECT_EQ(world.KeyExists(RootKey::kLocalMachine, ports),
              row.ports_key_stays);
    EXPECT_TRUE(world.KeyExists(
        RootKey::kLocalMachine,
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
        "Port"));
  }
}

TEST(PortRemovalTest, NoPortKeyMeansNoDeletion) {
  SetupWorld world;
  setup::RemovePortConfiguration(world.recording_registry);
  EXPECT_TRUE(world.log.calls().empty());
}

TEST(DeletePrinterByNameTest, OnlyAnOpenedPrinterIsDeleted) {
  SetupWorld world;
  EXPECT_FALSE(setup::DeletePrinterByName(world.spooler, "Plumeta"));
  EXPECT_EQ(world.log.calls(),
            std::vector<std::string>{"spooler open Plumeta 0xF000C"});
}

}  // namespace
}  // namespace plumeta
