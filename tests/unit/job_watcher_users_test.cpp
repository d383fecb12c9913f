// Several users of one Windows, each with a monitor on the same printer: a
// monitor serves only its own user's jobs and never shows a PDF that may be
// another user's.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "monitor/job_watcher.h"
#include "tests/unit/support/job_watcher_bed.h"

namespace plumeta {
namespace {

using testing::JobWatcherTest;
using testing::kLastResult;
using testing::kTarget;

class UsersTest : public JobWatcherTest {
 public:
  UsersTest() { bed.system->environment["USERNAME"] = "Alice"; }
  platform::PrintJob& PrintAs(const char* user, std::uint32_t id,
                              const std::string& document) {
    platform::PrintJob& job = Print(id, document);
    job.user_name = user;
    return job;
  }
};

TEST_F(UsersTest, OnlyTheJobsOfTheMonitorsUserGetAFlow) {
  const struct {
    const char* name;
    platform::PlatformId family;
    std::optional<std::string> monitor_user;
    const char* owner;
    bool flow;
  } kRows[] = {
      {"same user in another case", platform::PlatformId::kNt, "alice", "ALICE",
       true},
      {"another user", platform::PlatformId::kNt, "Alice", "Bob", false},
      {"user not known", platform::PlatformId::kNt, std::nullopt, "Bob", true},
      {"Windows 9x, one user at a time", platform::PlatformId::kWindows9x,
       "Alice", "Bob", true},
  };
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.system->version->platform = row.family;
    bed.system->environment.erase("USERNAME");
    if (row.monitor_user)
      bed.system->environment["USERNAME"] = *row.monitor_user;
    bed.files->files[kLastResult] = "an old last result";
    Queue().clear();
    watcher =
        std::make_unique<JobWatcher>(bed.platform, view, view, save_dialog);
    Advance(200);
    view.calls.clear();
    bed.dialogs->saves.clear();
    bed.dialogs->save_answers = {std::nullopt};
    PrintAs(row.owner, ++id, "Doc");
    Advance(200);
    EXPECT_EQ(watcher->job_table().size(), 1);
    EXPECT_EQ(bed.dialogs->saves.size(), row.flow ? 1u : 0u);
    EXPECT_EQ(view.calls.empty(), !row.flow);
    EXPECT_EQ(bed.files->Exists(kLastResult), !row.flow);
  }
}

TEST_F(UsersTest, APdfThatCameWithAnotherUsersJobIsDeletedUnseen) {
  PrintAs("Bob", 8, "Bob's letter");
  Advance(200);
  Finish(8, "Bob's letter");  // this monitor wrote the argument file last
  Advance(200);
  EXPECT_FALSE(bed.files->Exists(kLastResult));
  EXPECT_TRUE(view.calls.empty());
  EXPECT_TRUE(bed.ui->messages.empty());

  // The user's own next job still gets its own PDF.
  bed.dialogs->save_answers = {kTarget};
  bed.dialogs->while_save_open = [this] { Finish(7, "Alice's memo"); };
  PrintAs("alice", 7, "Alice's memo");
  Advance(200);
  Advance(200);
  EXPECT_EQ(bed.files->files[kTarget], Pdf("Alice's memo"));
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(UsersTest, AJobThatLeftWithAnotherUsersJobGetsNoPdf) {
  bed.dialogs->save_answers = {kTarget};
  PrintAs("Alice", 7, "Memo");
  PrintAs("Bob", 8, "Letter");
  bed.dialogs->while_save_open = [this] {
    Finish(7, "Memo");
    Finish(8, "Letter");
    Advance(200);
  };
  Advance(200);
  EXPECT_FALSE(bed.files->Exists(kLastResult));
  EXPECT_FALSE(bed.files->Exists(kTarget));
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_EQ(bed.ui->messages[0].text, "The PDF for 'Memo' was not created.");
}

TEST_F(UsersTest, AJobWhosePdfWentToAnotherUserSaysSo) {
  const struct {
    const char* name;
    std::optional<std::string> argument_file_output;
    const char* message;
  } kRows[] = {
      {"another user's folder",
       "C:\\Users\\Bob\\AppData\\Local\\Temp\\1024.pdf",
       "The PDF for 'Memo' went to another user's folder: Plumeta serves one "
       "user at a time, the one in front of the computer."},
      {"this user's, in another case", "c:\\temp\\1024.PDF",
       "The PDF for 'Memo' was not created."},
      {"argument file unreadable", std::nullopt,
       "The PDF for 'Memo' was not created."},
  };
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    view.argument_file_output = row.argument_file_output;
    bed.ui->messages.clear();
    bed.dialogs->save_answers = {kTarget};
    const std::uint32_t job = ++id;
    bed.dialogs->while_save_open = [this, job] { LeaveQueue(job); };
    PrintAs("Alice", job, "Memo");
    Advance(200);
    ASSERT_EQ(bed.ui->messages.size(), 1u);
    EXPECT_EQ(bed.ui->messages[0].text, row.message);
    EXPECT_EQ(bed.ui->messages[0].icon, platform::MessageIcon::kError);
    EXPECT_FALSE(bed.files->Exists(kTarget));
  }
}

}  // namespace
}  // namespace plumeta
