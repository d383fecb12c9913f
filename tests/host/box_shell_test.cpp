// The box's shell: the shell event of ShellExecuteA, and the shell's file
// copy doing its work inside the box.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/host/box/box_process.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/console/shell.h"
#include "tests/support/temp_folder.h"

namespace plumeta {
namespace {

class BoxShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(
        host::CreateBox(box_.path(), *host::FindWindowsEdition("7"), &error))
        << error;
    process_ = host::BoxProcess::Open(box_.path(), &error);
    ASSERT_TRUE(process_) << error;
    shell_ = std::make_unique<host::HostShell>(process_, events_);
  }
  std::string Drive(const std::string& path) {
    return box_.path() + "/drive_c/" + path;
  }

  testing::TempFolder box_;
  std::shared_ptr<host::BoxProcess> process_;
  std::ostringstream events_;
  std::unique_ptr<host::HostShell> shell_;
};

TEST_F(BoxShellTest, ExecuteWritesTheShellEvent) {
  platform::ShellExecuteRequest request;
  request.operation = "open";
  request.file = "C:\\Temp\\a\tb.pdf";
  request.directory = "C:\\Temp";
  request.show_mode = platform::kShowNormal;
  EXPECT_GT(shell_->Execute(request), 32);
  EXPECT_EQ(events_.str(),
            "shell\topen\tC:\\\\Temp\\\\a\\tb.pdf\t\tC:\\\\Temp\t1\n");
}

TEST_F(BoxShellTest, CopyPutsEveryFileIntoTheFolderCreatingIt) {
  testing::WriteText(Drive("src/A.dll"), "first");
  testing::WriteText(Drive("src/b.ppd"), "second");
  testing::WriteText(Drive("dst/a.DLL"), "old");
  platform::FileOperation copy;
  copy.from = {"C:\\src\\A.dll", "C:\\SRC\\b.ppd"};
  copy.to = "C:\\dst\\";
  copy.flags = 0x0211;
  EXPECT_EQ(shell_->RunFileOperation(copy), 0);
  EXPECT_EQ(testing::ReadText(Drive("dst/a.DLL")), "first");  // its own name
  EXPECT_EQ(testing::ReadText(Drive("dst/b.ppd")), "second");

  copy.to = "C:\\new\\deeper\\";
  EXPECT_EQ(shell_->RunFileOperation(copy), 0);
  EXPECT_EQ(testing::ReadText(Drive("new/deeper/A.dll")), "first");
}

TEST_F(BoxShellTest, AMissingSourceCopiesNothing) {
  testing::WriteText(Drive("src/a.dll"), "first");
  platform::FileOperation copy;
  copy.from = {"C:\\src\\a.dll", "C:\\src\\missing.dll"};
  copy.to = "C:\\dst2\\";
  EXPECT_EQ(shell_->RunFileOperation(copy), host::kShellFileOperationFailed);
  EXPECT_FALSE(std::filesystem::exists(Drive("dst2/a.dll")));
}

}  // namespace
}  // namespace plumeta
