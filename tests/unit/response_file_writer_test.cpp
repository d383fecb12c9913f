// TMain::WriteResponseFile: where and how the file is put in place, and what
// happens when that fails.
#include <gtest/gtest.h>

#include "monitor/main_form.h"
#include "tests/support/gs_argument_reader.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

using testing::kResponseFile;

const std::string kFresh = std::string(kResponseFile) + ".new";

class ResponseFileWriterTest : public ::testing::Test {
 protected:
  std::string OwnerPasswordInFile() {
    const auto arguments =
        testing::ReadGhostscriptArguments(bed_.ResponseFile());
    for (const auto& argument :
         arguments.value_or(std::vector<std::string>{})) {
      if (argument.rfind("-sOwnerPassword=", 0) == 0)
        return argument.substr(16);
    }
    return "<none>";
  }

  testing::MonitorTestBed bed_;
};

TEST_F(ResponseFileWriterTest, WrittenBesideThenReplacedInOneStep) {
  auto main = bed_.Start();
  bed_.file_log.Clear();
  main->ClickMenuItem("N3001");
  EXPECT_EQ(bed_.file_log.calls(),
            (std::vector<std::string>{
                "file write " + kFresh + " admins-only",
                "file replace " + kFresh + " -> " + kResponseFile}));
  EXPECT_FALSE(bed_.files->Exists(kFresh));
  EXPECT_EQ(bed_.files->protection[kResponseFile],
            platform::FileProtection::kAdministratorsAndSystemOnly);
}

TEST_F(ResponseFileWriterTest, ReadOnlyFileStaysAsItWas) {
  auto main = bed_.Start();
  const std::string before = bed_.ResponseFile();
  bed_.files->read_only.insert(kResponseFile);
  main->ClickMenuItem("N3001");
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  EXPECT_EQ(bed_.ui->messages[0].text, "File access denied.");
  EXPECT_EQ(bed_.ui->messages[0].caption, "Plumeta");
  EXPECT_EQ(bed_.ui->messages[0].icon, platform::MessageIcon::kError);
  EXPECT_EQ(bed_.ResponseFile(), before);
  EXPECT_FALSE(bed_.files->Exists(kFresh));
  // The setting changed all the same, and is stored at the next close.
  bed_.window().Close();
  EXPECT_EQ(bed_.Stored("Resolution"), "300");
}

TEST_F(ResponseFileWriterTest, FailureTexts) {
  const struct {
    platform::ErrorCode code;
    const char* text;
  } kRows[] = {
      {3, "Invalid filename."}, {101, "Disk full."}, {32, "I/O error 32."}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.code);
    testing::MonitorTestBed bed;
    auto main = bed.Start();
    bed.files->write_failures[kFresh] = row.code;
    main->ClickMenuItem("N721");
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text, row.text);
  }
}

// On 64-bit Windows the port's 32-bit Ghostscript opens system32\plum.rsp
// and lands in SysWOW64: the file goes to both folders, the native one with
// the redirection off.
TEST_F(ResponseFileWriterTest, Wow64WritesTheNativeAndThe32BitSystemFolder) {
  const std::string wow64 = "C:\\WINDOWS\\SysWOW64\\plum.rsp";
  bed_.system->is_wow64 = true;
  auto main = bed_.Start();
  bed_.file_log.Clear();
  bed_.system->calls.clear();
  main->ClickMenuItem("N3001");
  EXPECT_EQ(bed_.file_log.calls(),
            (std::vector<std::string>{
                "file write " + kFresh + " admins-only",
                "file replace " + kFresh + " -> " + kResponseFile,
                "file write " + wow64 + ".new admins-only",
                "file replace " + wow64 + ".new -> " + wow64}));
  EXPECT_EQ(bed_.system->calls,
            (std::vector<std::string>{"Disable", "Revert"}));
  EXPECT_EQ(bed_.files->files[wow64], bed_.ResponseFile());
  EXPECT_EQ(bed_.files->protection[wow64],
            platform::FileProtection::kAdministratorsAndSystemOnly);

  // Either copy failing: one message, and the redirection back on.
  for (const std::string& failing : {kFresh, wow64 + ".new"}) {
    SCOPED_TRACE(failing);
    testing::MonitorTestBed bed;
    bed.system->is_wow64 = true;
    auto monitor = bed.Start();
    bed.files->write_failures[failing] = 5;
    monitor->ClickMenuItem("N721");
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text, "File access denied.");
    EXPECT_TRUE(bed.system->redirection_on);
    EXPECT_EQ(bed.system->calls.back(), "Revert");
  }
}

TEST_F(ResponseFileWriterTest, NoRedirectionCallsWithoutWow64) {
  bed_.Start();
  EXPECT_EQ(bed_.system->calls, std::vector<std::string>{"IsWow64Process"});
}

TEST_F(ResponseFileWriterTest, GeneratedOwnerPasswordIsFreshAndNeverStored) {
  bed_.Store("UPwd", "usr");
  auto main = bed_.Start();
  const std::string first = OwnerPasswordInFile();
  EXPECT_EQ(first.size(), 32u);
  main->ClickMenuItem("N6001");
  const std::string second = OwnerPasswordInFile();
  EXPECT_EQ(second.size(), 32u);
  EXPECT_NE(first, second);
  bed_.window().Close();
  EXPECT_EQ(bed_.Stored("OPwd"), "");
}

TEST_F(ResponseFileWriterTest, NoRandomSourceLeavesTheFileAsItWas) {
  auto main = bed_.Start();
  const std::string before = bed_.ResponseFile();
  bed_.random->failure = 5;
  main->ClickMenuItem("Assemblethedocument1");  // prompt cancelled
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  EXPECT_EQ(bed_.ui->messages[0].text,
            "System Error.  Code: 5.\r\nAccess is denied.");
  EXPECT_EQ(bed_.ResponseFile(), before);
}

TEST_F(ResponseFileWriterTest,
       FailedWritesAtStartAreReportedOnceAndStartGoesOn) {
  bed_.Store("Version", "1.4");
  bed_.Store("Quality", "Screen");
  bed_.Store("Resolution", "72");
  bed_.files->write_failures[kFresh] = 5;
  auto main = bed_.Start();
  ASSERT_EQ(bed_.ui->messages.size(), 1u);
  EXPECT_EQ(bed_.ui->messages[0].text, "File access denied.");
  // Step 11 placed the balloon.
  main->ShowBalloon();
  EXPECT_EQ(bed_.balloon_windows.shown.back().layout.tip.x, 1024 - 90);
  for (const char* item : {"N141", "Screen1", "N721"}) {
    EXPECT_TRUE(bed_.ShownItem(*main, item).checked) << item;
  }
}

}  // namespace
}  // namespace plumeta
