// The Win32 shell and process calls the setup program makes, under Wine:
// each against the real system, with what Wine is known to differ in said
// where it matters. The spooler's are the contract's (tests/contract).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/processes.h"
#include "platform/win32/shell.h"
#include "tests/support/wait_until.h"
#include "tests/wine/support/process_runner.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using platform::ErrorCode;

std::string StandinCommand() {
  std::string command = "\"";
  command += wine_test::ThroughDriveZ(PLUMETA_STANDIN_EXE);
  command += '"';
  return command;
}

using SnapshotFunction =
    platform::ErrorCode (*)(std::vector<platform::ProcessEntry>*);

bool InSnapshot(SnapshotFunction snapshot, DWORD id, const std::string& name) {
  std::vector<platform::ProcessEntry> entries;
  if (snapshot(&entries) != platform::kSuccess) return false;
  return std::find(entries.begin(), entries.end(),
                   platform::ProcessEntry{id, name}) != entries.end();
}

// Both ways of listing: toolhelp, and PSAPI as Windows NT 4.0 has only it.
TEST(Win32ProcessesTest, SnapshotNamesProcessesByTheirFileName) {
  DWORD id = 0;
  ScopedKernelHandle standin = wine_test::StartProcess(StandinCommand(), &id);
  ASSERT_TRUE(standin);
  const std::pair<const char*, SnapshotFunction> ways[] = {
      {"Snapshot",
       [](std::vector<platform::ProcessEntry>* entries) {
         return Win32Processes().Snapshot(entries);
       }},
      {"ToolhelpSnapshot", &ToolhelpSnapshot},
      {"PsapiSnapshot", &PsapiSnapshot},
  };
  for (const auto& [name, snapshot] : ways) {
    SCOPED_TRACE(name);
    // A process shows in snapshots once it has started.
    EXPECT_TRUE(testing::WaitUntil(
        [&] { return InSnapshot(snapshot, id, "plumeta.exe"); },
        std::chrono::seconds(2)));
  }
  ::TerminateProcess(standin.Get(), 3);
  ::WaitForSingleObject(standin.Get(), 5000);
}

TEST(Win32ProcessesTest, TerminateAndWaitEndTheProcessWithCodeZero) {
  DWORD id = 0;
  ScopedKernelHandle standin = wine_test::StartProcess(StandinCommand(), &id);
  ASSERT_TRUE(standin);
  Win32Processes processes;
  std::unique_ptr<platform::Process> process;
  ASSERT_EQ(processes.Open(id, &process), platform::kSuccess);
  EXPECT_EQ(process->Terminate(0), platform::kSuccess);
  ErrorCode error = 0xdeadbeef;
  EXPECT_EQ(process->Wait(5000, &error), platform::WaitResult::kSignalled);
  EXPECT_EQ(error, platform::kSuccess);
  DWORD exit_code = 1;
  ASSERT_TRUE(::GetExitCodeProcess(standin.Get(), &exit_code));
  EXPECT_EQ(exit_code, 0u);
}

TEST(Win32ProcessesTest, AProcessThatRunsOnTimesOut) {
  DWORD id = 0;
  ScopedKernelHandle standin = wine_test::StartProcess(StandinCommand(), &id);
  ASSERT_TRUE(standin);
  Win32Processes processes;
  std::unique_ptr<platform::Process> process;
  ASSERT_EQ(processes.Open(id, &process), platform::kSuccess);
  ErrorCode error = 0xdeadbeef;
  EXPECT_EQ(process->Wait(100, &error), platform::WaitResult::kTimedOut);
  ::TerminateProcess(standin.Get(), 0);
}

TEST(Win32ProcessesTest, AnEndedProcessCannotBeOpened) {
  DWORD id = 0;
  {
    ScopedKernelHandle standin = wine_test::StartProcess(StandinCommand(), &id);
    ASSERT_TRUE(standin);
    ::TerminateProcess(standin.Get(), 0);
    ::WaitForSingleObject(standin.Get(), 5000);
  }
  Win32Processes processes;
  std::unique_ptr<platform::Process> process;
  // Wine keeps an ended process's id openable for about half a second
  // (measured: 10 tries 50 ms apart); Windows lets it go with its last handle.
  ErrorCode opened = platform::kSuccess;
  testing::WaitUntil(
      [&] {
        process.reset();
        opened = processes.Open(id, &process);
        return opened != platform::kSuccess;
      },
      std::chrono::seconds(5), std::chrono::milliseconds(50));
  EXPECT_EQ(opened, platform::kErrorInvalidParameter);
  EXPECT_FALSE(process);
}

TEST(Win32ShellTest, CopiesAListOfFilesIntoAFolderItCreates) {
  wine_test::ScratchFolder scratch;
  ASSERT_TRUE(wine_test::WriteWholeFile(scratch.File("a.dll"), "first"));
  ASSERT_TRUE(wine_test::WriteWholeFile(scratch.File("b.ppd"), "second"));
  Win32Shell shell;
  platform::FileOperation copy;
  copy.from = {scratch.File("a.dll"), scratch.File("b.ppd")};
  copy.to = scratch.File("new") + "\\";
  copy.flags = 0x0211;
  copy.progress_title = "Copying...";
  EXPECT_EQ(shell.RunFileOperation(copy), 0);
  EXPECT_EQ(wine_test::ReadWholeFile(scratch.File("new\\a.dll")), "first");
  EXPECT_EQ(wine_test::ReadWholeFile(scratch.File("new\\b.ppd")), "second");

  copy.from.push_back(scratch.File("missing.dll"));
  EXPECT_NE(shell.RunFileOperation(copy), 0);
}

TEST(Win32ShellTest, CurrentFolderMustExist) {
  wine_test::ScratchFolder scratch;
  Win32Shell shell;
  EXPECT_TRUE(shell.SetCurrentFolder(scratch.path()));
  EXPECT_FALSE(shell.SetCurrentFolder(scratch.File("missing")));
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof(temp), temp);
  shell.SetCurrentFolder(temp);
}

TEST(Win32ShellTest, ListsEndWithTwoNuls) {
  EXPECT_EQ(DoubleNulList({"C:\\a", "C:\\b"}),
            std::string("C:\\a\0C:\\b\0\0", 11));
  EXPECT_EQ(DoubleNulList({}), std::string("\0", 1));
}

}  // namespace
}  // namespace plumeta::win32
