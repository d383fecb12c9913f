#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host/print/spool_jobs.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

// A watcher remembers the ids it has seen: an id may not come back for a
// new job soon after its job has left the queue.
TEST(SpoolJobIdsTest, RiseAfterJobsLeaveAndSkipQueuedOnesWhenTheyWrap) {
  testing::TempFolder spool;
  platform::PrintJob job;
  job.printer_name = "Plumeta";
  const struct {
    const char* label;
    const char* last_job;  // LASTJOB before the add; nullptr: as it is
    bool remove_first;     // remove job 1 before the add
    std::uint32_t id;
  } kRows[] = {
      {"first job", nullptr, false, 1},
      {"next after the first left", nullptr, true, 2},
      {"next while one is queued", nullptr, false, 3},
      {"wraps to 1 after 99999", "99999", false, 1},
      {"skips a queued id", "99999", false, 4},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    if (row.last_job != nullptr) {
      testing::WriteText(spool / "LASTJOB", row.last_job);
    }
    if (row.remove_first) RemoveSpoolJob(spool.path(), 1);
    EXPECT_EQ(AddSpoolJob(spool.path(), job, "%!PS\n"), row.id);
  }
  EXPECT_EQ(ReadSpoolJobs(spool.path(), "Plumeta").size(), 4u);
}

TEST(SpoolRecordTest, TextFieldsComeBackAsWritten) {
  platform::PrintJob job;
  job.job_id = 7;
  job.printer_name = "Plumeta";
  job.document = "Evil\nPrinter=Other";
  job.user_name = "back\\slash\ttab\r";
  job.parameters = "a=b\\n";
  const platform::PrintJob read = ParseShadowFile(WriteShadowFile(job));
  EXPECT_EQ(read.job_id, 7u);
  EXPECT_EQ(read.printer_name, "Plumeta");
  EXPECT_EQ(read.document, job.document);
  EXPECT_EQ(read.user_name, job.user_name);
  EXPECT_EQ(read.parameters, job.parameters);
}

}  // namespace
}  // namespace plumeta::host
