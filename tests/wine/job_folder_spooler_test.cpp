// The test monitor's spooler under Wine: jobs written in the box's format
// into a folder of the prefix, listed through the system spooler's printer.
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

// The system spooler knows one printer, "Plumeta", on port PLUM:.
class OnePrinterSpooler : public platform::Spooler {
 public:
  class OnePrinter : public platform::Printer {
   public:
    platform::ErrorCode ListJobs(std::uint32_t, std::uint32_t,
                                 std::vector<platform::PrintJob>*) override {
      return 50;  // what Wine's EnumJobsA stub would give: nothing useful
    }
    platform::ErrorCode GetInfo(platform::PrinterInfo2* info) override {
      info->printer_name = "Plumeta";
      info->port_name = "PLUM:";
      return platform::kSuccess;
    }
    platform::ErrorCode SetInfo(const platform::PrinterInfo2&,
                                std::uint32_t) override {
      return platform::kSuccess;
    }
    platform::ErrorCode Delete() override { return platform::kSuccess; }
  };

  platform::ErrorCode Open(
      const std::string& name, std::uint32_t,
      std::unique_ptr<platform::Printer>* printer) override {
    if (name != "Plumeta") return platform::kErrorInvalidPrinterName;
    *printer = std::make_unique<OnePrinter>();
    return platform::kSuccess;
  }
  platform::ErrorCode ListPrinters(
      std::uint32_t, std::uint32_t,
      std::vector<platform::PrinterSummary>* printers) override {
    *printers = {{"Plumeta", "", "PLUM:", 0}};
    return platform::kSuccess;
  }
  platform::ErrorCode CreatePrinter(const platform::PrinterInfo2&) override {
    return platform::kSuccess;
  }
  platform::ErrorCode InstallDriver(const platform::DriverInfo2&) override {
    return platform::kSuccess;
  }
  platform::ErrorCode RemoveDriver(const std::string&,
                                   const std::string&) override {
    return platform::kSuccess;
  }
};

platform::PrintJob Job(const std::string& printer,
                       const std::string& document) {
  platform::PrintJob job;
  job.printer_name = printer;
  job.document = document;
  job.user_name = "root";
  job.submitted = {2024, 5, 3, 1, 12, 30, 5, 250};
  return job;
}

TEST(JobFolderSpooler, ListsThePrintersJobsFromTheFolder) {
  wine_test::ScratchFolder folder;
  ASSERT_EQ(host::AddSpoolJob(folder.path(), Job("Plumeta", "Report: Q1/Q2"),
                              "%!PS\n"),
            1u);
  ASSERT_EQ(host::AddSpoolJob(folder.path(), Job("Elsewhere", "Other"), "x"),
            2u);
  ASSERT_EQ(
      host::AddSpoolJob(folder.path(), Job("PLUMETA", "Second"), "%!PS-more\n"),
      3u);
  JobFolderSpooler spooler(std::make_unique<OnePrinterSpooler>(),
                           folder.path());

  std::unique_ptr<platform::Printer> printer;
  ASSERT_EQ(spooler.Open("Plumeta", platform::kPrinterAccessUse, &printer),
            platform::kSuccess);
  std::vector<platform::PrintJob> jobs;
  ASSERT_EQ(printer->ListJobs(0, 100, &jobs), platform::kSuccess);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].job_id, 1u);
  EXPECT_EQ(jobs[0].document, "Report: Q1/Q2");
  EXPECT_EQ(jobs[0].size, 5u);
  EXPECT_EQ(jobs[0].submitted,
            (platform::SystemTime{2024, 5, 3, 1, 12, 30, 5, 250}));
  EXPECT_EQ(jobs[1].job_id, 3u);
  EXPECT_EQ(jobs[1].position, 2u);
  ASSERT_EQ(printer->ListJobs(1, 1, &jobs), platform::kSuccess);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].job_id, 3u);

  platform::PrinterInfo2 info;
  ASSERT_EQ(printer->GetInfo(&info), platform::kSuccess);
  EXPECT_EQ(info.port_name, "PLUM:");
  EXPECT_EQ(info.jobs, 2u);

  host::RemoveSpoolJob(folder.path(), 1);
  ASSERT_EQ(printer->ListJobs(0, 100, &jobs), platform::kSuccess);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].job_id, 3u);
  EXPECT_EQ(jobs[0].position, 1u);

  // Printers the system spooler does not know stay unknown.
  std::unique_ptr<platform::Printer> missing;
  EXPECT_EQ(spooler.Open("Missing", platform::kPrinterAccessUse, &missing),
            platform::kErrorInvalidPrinterName);
  EXPECT_EQ(missing, nullptr);
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
