// A printer's jobs as the box's spool folder holds them: the box's spooler,
// and the wine suite's test monitor listing them through Win32's printer.
#include <memory>
#include <string>
#include <vector>

#include "platform/host/print/spool_jobs.h"
#include "tests/contract/beds.h"

namespace plumeta::contract {
namespace {

platform::PrintJob Job(const std::string& printer,
                       const std::string& document) {
  platform::PrintJob job;
  job.printer_name = printer;
  job.document = document;
  job.user_name = "User";
  job.submitted = {2024, 5, 3, 1, 12, 30, 5, 250};
  job.status = 8;
  return job;
}

TEST_P(SpoolFolderContract, ListsThePrintersJobsFromTheFolder) {
  const std::string& folder = bed().spool_folder();
  ASSERT_EQ(host::AddSpoolJob(folder, Job("Plumeta", "Letter = draft: Q1/Q2"),
                              "%!PS\n"),
            1u);
  ASSERT_EQ(host::AddSpoolJob(folder, Job("Elsewhere", "Other"), "x"), 2u);
  ASSERT_EQ(host::AddSpoolJob(folder, Job("PLUMETA", "Second"), "%!PS-more\n"),
            3u);

  std::unique_ptr<platform::Printer> printer;
  ASSERT_EQ(
      bed().spooler().Open("Plumeta", platform::kPrinterAccessUse, &printer),
      platform::kSuccess);
  std::vector<platform::PrintJob> jobs;
  ASSERT_EQ(printer->ListJobs(0, 100, &jobs), platform::kSuccess);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].job_id, 1u);
  EXPECT_EQ(jobs[0].document, "Letter = draft: Q1/Q2");
  EXPECT_EQ(jobs[0].size, 5u);
  EXPECT_EQ(jobs[0].position, 1u);
  EXPECT_EQ(jobs[0].submitted,
            (platform::SystemTime{2024, 5, 3, 1, 12, 30, 5, 250}));
  EXPECT_EQ(jobs[1].job_id, 3u);
  EXPECT_EQ(jobs[1].position, 2u);
  for (std::uint32_t count : {1u, 100u}) {
    SCOPED_TRACE(count);
    ASSERT_EQ(printer->ListJobs(1, count, &jobs), platform::kSuccess);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].job_id, 3u);
  }

  platform::PrinterInfo2 info;
  ASSERT_EQ(printer->GetInfo(&info), platform::kSuccess);
  EXPECT_EQ(info.port_name, "PLUM:");
  EXPECT_EQ(info.jobs, 2u);

  host::RemoveSpoolJob(folder, 1);
  ASSERT_EQ(printer->ListJobs(0, 100, &jobs), platform::kSuccess);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].job_id, 3u);
  EXPECT_EQ(jobs[0].position, 1u);
  ASSERT_EQ(printer->GetInfo(&info), platform::kSuccess);
  EXPECT_EQ(info.jobs, 1u);

  std::unique_ptr<platform::Printer> missing;
  EXPECT_EQ(
      bed().spooler().Open("Missing", platform::kPrinterAccessUse, &missing),
      platform::kErrorInvalidPrinterName);
  EXPECT_EQ(missing, nullptr);
}

}  // namespace
}  // namespace plumeta::contract
