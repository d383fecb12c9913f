// The test monitor's spooler under Wine: jobs written in the box's format
// into a folder of the prefix, from several writers at once. How its printer
// lists them is the spool-folder contract's (tests/contract).
#include "tests/wine/spoolbox/job_folder_spooler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/print/spool_jobs.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::spoolbox {
namespace {

platform::PrintJob Job(const std::string& printer,
                       const std::string& document) {
  platform::PrintJob job;
  job.printer_name = printer;
  job.document = document;
  job.user_name = "root";
  job.submitted = {2024, 5, 3, 1, 12, 30, 5, 250};
  return job;
}

// Several writers at once never share an id, and no job is left without its
// data or its fields.
TEST(JobFolderSpooler, JobsAddedAtOnceGetIdsOfTheirOwn) {
  wine_test::ScratchFolder folder;
  constexpr int kWriters = 4;
  constexpr int kJobsEach = 5;
  std::vector<std::vector<std::uint32_t>> ids(kWriters);
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      for (int j = 0; j < kJobsEach; ++j) {
        ids[w].push_back(host::AddSpoolJob(
            folder.path(), Job("Plumeta", "Job " + std::to_string(w)),
            std::string(10 + w, 'd')));
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  std::set<std::uint32_t> distinct;
  for (const auto& list : ids) distinct.insert(list.begin(), list.end());
  EXPECT_EQ(distinct.count(0), 0u);
  EXPECT_EQ(distinct.size(), std::size_t{kWriters * kJobsEach});

  const std::vector<platform::PrintJob> jobs =
      host::ReadSpoolJobs(folder.path(), "Plumeta");
  ASSERT_EQ(jobs.size(), std::size_t{kWriters * kJobsEach});
  for (const platform::PrintJob& job : jobs) {
    SCOPED_TRACE(job.job_id);
    // Each job's data is the one its writer gave: 10 + writer bytes.
    EXPECT_EQ(job.size, 10u + (job.document.back() - '0'));
  }
}

}  // namespace
}  // namespace plumeta::spoolbox
