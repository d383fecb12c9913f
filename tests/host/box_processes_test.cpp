// The box's processes: programs that register themselves, a snapshot that
// names them as Windows would, and stopping one.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>

#include "platform/host/kernel/processes.h"
#include "tests/host/support/background_program.h"
#include "tests/support/temp_folder.h"

namespace plumeta {
namespace {

class BoxProcessesTest : public ::testing::Test {
 protected:
  std::unique_ptr<testing::BackgroundProgram> Start(const std::string& name) {
    auto program = std::make_unique<testing::BackgroundProgram>(
        BOX_PROCESS_STANDIN_PATH, std::vector<std::string>{name},
        std::map<std::string, std::string>{{"PLUMETA_BOX", box_.path()}});
    EXPECT_EQ(program->FirstLine(), "ready");
    return program;
  }
  std::vector<platform::ProcessEntry> Snapshot() {
    std::vector<platform::ProcessEntry> entries;
    EXPECT_EQ(processes_.Snapshot(&entries), platform::kSuccess);
    return entries;
  }

  testing::TempFolder box_;
  host::HostProcesses processes_{box_.path()};
};

TEST_F(BoxProcessesTest, SnapshotNamesRegisteredProgramsOnly) {
  EXPECT_TRUE(Snapshot().empty());
  auto monitor = Start("plumeta.exe");
  auto other = Start("notepad.exe");
  EXPECT_EQ(
      Snapshot(),
      (std::vector<platform::ProcessEntry>{
          {static_cast<platform::ProcessId>(monitor->pid()), "plumeta.exe"},
          {static_cast<platform::ProcessId>(other->pid()), "notepad.exe"}}));
  {
    host::HostProcesses self(box_.path(), "plumsetup.exe");
    EXPECT_EQ(Snapshot().size(), 3u);
  }
  EXPECT_EQ(Snapshot().size(), 2u);  // the registration went with it
}

TEST_F(BoxProcessesTest, TerminateAndWaitEndTheProgram) {
  auto monitor = Start("plumeta.exe");
  std::unique_ptr<platform::Process> process;
  ASSERT_EQ(processes_.Open(monitor->pid(), &process), platform::kSuccess);
  EXPECT_EQ(process->Terminate(0), platform::kSuccess);
  platform::ErrorCode error = 1;
  EXPECT_EQ(process->Wait(5000, &error), platform::WaitResult::kSignalled);
  EXPECT_EQ(error, platform::kSuccess);
  int signal_number = 0;
  EXPECT_TRUE(monitor->Ended(1000, &signal_number));
  EXPECT_EQ(signal_number, SIGTERM);
  // Its file is stale now and goes with the next snapshot.
  EXPECT_TRUE(Snapshot().empty());
  EXPECT_TRUE(std::filesystem::is_empty(host::ProcessesFolder(box_.path())));
}

TEST_F(BoxProcessesTest, ARunningProgramTimesOut) {
  auto monitor = Start("plumeta.exe");
  std::unique_ptr<platform::Process> process;
  ASSERT_EQ(processes_.Open(monitor->pid(), &process), platform::kSuccess);
  platform::ErrorCode error = 1;
  EXPECT_EQ(process->Wait(50, &error), platform::WaitResult::kTimedOut);
}

TEST_F(BoxProcessesTest, EndedOrUnregisteredProcessesCannotBeOpened) {
  std::unique_ptr<platform::Process> process;
  EXPECT_EQ(processes_.Open(::getpid(), &process),
            platform::kErrorInvalidParameter);
  auto monitor = Start("plumeta.exe");
  const pid_t pid = monitor->pid();
  ::kill(pid, SIGKILL);
  ASSERT_TRUE(monitor->Ended(5000));
  EXPECT_EQ(processes_.Open(pid, &process), platform::kErrorInvalidParameter);
}

// A pid that the system gave to another process since keeps its old file,
// which must not make the new process a box process.
TEST_F(BoxProcessesTest, AReusedPidIsNotTheRegisteredProgram) {
  testing::WriteText(
      host::ProcessesFolder(box_.path()) + "/" + std::to_string(::getpid()),
      "exe=plumeta.exe\nstart=1\n");
  EXPECT_TRUE(Snapshot().empty());
}

}  // namespace
}  // namespace plumeta
