// The host plumeta watching the box's spool folder: a job of "Plumeta"
// brings the balloon and the save dialog, and the PDF that stands in for
// Ghostscript's output reaches the chosen place once it is complete.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/host/box/box.h"
#include "platform/host/box/box_process.h"
#include "platform/host/kernel/system.h"
#include "platform/host/print/spool_jobs.h"
#include "platform/host/registry/store_registry.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using testing::ConsoleProgram;

constexpr char kPrinterKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Plumeta";

bool ExistsWithin(const fs::path& path, std::chrono::milliseconds timeout) {
  return testing::WaitUntil([&] { return fs::exists(path); }, timeout,
                            std::chrono::milliseconds(50));
}

class WatcherHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        testing::RunProgram(PLUMBOX_PATH, {"init", "--windows", "7", Box()})
            .exit_code,
        0);
    host::FileRegistry registry(host::RegistryFolder(Box()));
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(registry.OpenKey(platform::RootKey::kLocalMachine, kPrinterKey,
                               true, &key),
              platform::kSuccess);
    ASSERT_EQ(key->WriteString("Name", "Plumeta"), platform::kSuccess);
    std::string error;
    box_ = host::BoxProcess::Open(Box(), &error);
    ASSERT_TRUE(box_) << error;
    host::HostSystem system(box_);
    std::string temp = system.TempPath(255);
    temp.pop_back();
    last_result_ = *box_->LinuxPath(temp + "\\1024.pdf");
    spool_ = *box_->LinuxPath(box_->facts().windows_folder +
                              "\\system32\\spool\\PRINTERS");
    fs::create_directories(spool_);
    fs::create_directories(Box() + "/drive_c/out");
  }
  std::string Box() const { return folder_ / "box"; }

  std::unique_ptr<ConsoleProgram> StartMonitor() {
    auto monitor = std::make_unique<ConsoleProgram>(
        PLUMETA_PATH, std::vector<std::string>{},
        std::map<std::string, std::string>{{host::kBoxVariable, Box()}});
    EXPECT_TRUE(monitor->WaitFor("tray").has_value());
    return monitor;
  }

  testing::TempFolder folder_;
  std::shared_ptr<host::BoxProcess> box_;
  std::string last_result_;
  std::string spool_;
};

TEST_F(WatcherHostTest, AJobBringsBalloonAndDialogAndThePdfArrivesComplete) {
  auto monitor = StartMonitor();
  platform::PrintJob job;
  job.printer_name = "Plumeta";
  job.machine_name = "\\\\PLUMBOX";
  job.user_name = "User";
  job.document = "Report: Q1/Q2";
  job.status = 0x08;
  job.submitted = {2024, 5, 3, 1, 12, 30, 5, 0};
  const std::uint32_t id = host::AddSpoolJob(spool_, job, "%!PS\n");
  ASSERT_NE(id, 0u);

  const auto balloon = monitor->WaitFor("balloon");
  ASSERT_TRUE(balloon.has_value());
  EXPECT_EQ(balloon->at(8), "Creating Adobe PDF ...");
  const auto save = monitor->WaitFor("save");
  ASSERT_TRUE(save.has_value());
  EXPECT_EQ(save->at(1), "Report_ Q1_Q2.PDF");
  EXPECT_EQ(save->at(2), "Adobe PDF files (*.PDF)|*.PDF");

  // Ghostscript's stand-in: the output file, held while it is written.
  const int fd = ::open(last_result_.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const std::string pdf =
      "%PDF-1.4\n% the stand-in's page\nstartxref\n9\n%%EOF\n";
  ASSERT_EQ(::write(fd, pdf.data(), 9), 9);
  monitor->Send("ok C:\\out\\Report.pdf");
  const fs::path target = Box() + "/drive_c/out/Report.pdf";
  EXPECT_FALSE(ExistsWithin(target, std::chrono::milliseconds(800)))
      << "copied while still being written";
  ASSERT_EQ(::write(fd, pdf.data() + 9, pdf.size() - 9),
            static_cast<ssize_t>(pdf.size() - 9));
  ::close(fd);
  host::RemoveSpoolJob(spool_, id);

  ASSERT_TRUE(ExistsWithin(target, std::chrono::seconds(10)));
  EXPECT_EQ(testing::ReadText(target), pdf);
  const auto shell = monitor->WaitFor("shell");
  ASSERT_TRUE(shell.has_value());
  EXPECT_EQ(shell->at(1), "open");
  EXPECT_EQ(shell->at(2), "C:\\out\\Report.pdf");
  EXPECT_FALSE(fs::exists(last_result_));
}

}  // namespace
}  // namespace plumeta
