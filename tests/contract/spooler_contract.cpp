// Drivers and printers as the spooler adds and removes them: the box's
// spooler and Win32's.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/contract/beds.h"

namespace plumeta::contract {
namespace {

TEST_P(SpoolerContract, DriverAndPrinterComeAndGo) {
  platform::Spooler& spooler = bed().spooler();
  const std::string& name = bed().name();
  ASSERT_EQ(spooler.InstallDriver({3, name, bed().environment(), "pscript5.dll",
                                   "plumeta.ppd", "ps5ui.dll"}),
            platform::kSuccess);
  platform::PrinterInfo2 record;
  record.printer_name = name;
  record.share_name = name;
  record.port_name = "PLUM:";
  record.driver_name = name;
  record.location = "Local computer";
  record.print_processor = "WinPrint";
  record.datatype = "RAW";
  ASSERT_EQ(spooler.CreatePrinter(record), platform::kSuccess);

  for (std::uint32_t level : {4u, 5u}) {
    SCOPED_TRACE(level);
    std::vector<platform::PrinterSummary> printers;
    ASSERT_EQ(
        spooler.ListPrinters(platform::kPrinterEnumLocal, level, &printers),
        platform::kSuccess);
    auto found =
        std::find_if(printers.begin(), printers.end(),
                     [&](const auto& p) { return p.printer_name == name; });
    ASSERT_NE(found, printers.end());
    EXPECT_EQ(found->port_name, level == 5 ? "PLUM:" : "");
  }

  std::unique_ptr<platform::Printer> printer;
  ASSERT_EQ(spooler.Open(name, platform::kPrinterAllAccess, &printer),
            platform::kSuccess);
  platform::PrinterInfo2 info;
  ASSERT_EQ(printer->GetInfo(&info), platform::kSuccess);
  EXPECT_EQ(info.printer_name, name);
  EXPECT_EQ(info.port_name, "PLUM:");
  EXPECT_EQ(info.driver_name, name);
  EXPECT_EQ(info.location, "Local computer");
  info.comment = "set through SetPrinterA";
  EXPECT_EQ(printer->SetInfo(info, 0), platform::kSuccess);
  ASSERT_EQ(printer->GetInfo(&info), platform::kSuccess);
  EXPECT_EQ(info.comment, "set through SetPrinterA");
  // No job is printed; Wine's EnumJobsA is a stub that may also fail.
  std::vector<platform::PrintJob> jobs;
  printer->ListJobs(0, 100, &jobs);
  EXPECT_TRUE(jobs.empty());

  // Wine's DeletePrinterDriverA removes a driver its printer still uses, and
  // its DeletePrinter succeeds again on a deleted printer's handle.
  const bool windows_refusals = !UnderWine();
  if (windows_refusals) {
    EXPECT_EQ(spooler.RemoveDriver(bed().environment(), name),
              platform::kErrorPrinterDriverInUse);
  }
  EXPECT_EQ(printer->Delete(), platform::kSuccess);
  if (windows_refusals) {
    EXPECT_EQ(printer->Delete(), platform::kErrorInvalidHandle);
  }
  printer.reset();
  EXPECT_EQ(spooler.Open(name, platform::kPrinterAllAccess, &printer),
            platform::kErrorInvalidPrinterName);
  if (windows_refusals) {
    EXPECT_EQ(spooler.RemoveDriver(bed().environment(), name),
              platform::kSuccess);
    EXPECT_EQ(spooler.RemoveDriver(bed().environment(), name),
              platform::kErrorUnknownPrinterDriver);
  }
  EXPECT_EQ(spooler.InstallDriver({3, name, "Windows 3.1", "pscript5.dll",
                                   "plumeta.ppd", "ps5ui.dll"}),
            platform::kErrorUnknownPrinterDriverEnvironment);
}

}  // namespace
}  // namespace plumeta::contract
