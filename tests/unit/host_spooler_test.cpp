// The box's spooler stand-in: Windows' refusals, where it keeps printers and
// drivers, and the job files of the spool folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/host/print/spool_jobs.h"
#include "platform/host/print/spooler.h"
#include "platform/host/registry/memory_registry.h"
#include "tests/support/temp_folder.h"

namespace plumeta {
namespace {

using platform::RootKey;

constexpr char kPrint[] = "SYSTEM\\CurrentControlSet\\Control\\Print";

class HostSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(spool_.path().empty());
    auto registry = std::make_unique<host::MemoryRegistry>();
    registry_ = registry.get();
    spooler_ = std::make_unique<host::HostSpooler>(
        std::move(registry), spool_.path(), "Windows NT x86");
    MakeKey(std::string(kPrint) + "\\Monitors\\Redirected Port\\Ports\\PLUM:");
  }

  void MakeKey(const std::string& path) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(registry_->OpenKey(RootKey::kLocalMachine, path, true, &key), 0u);
  }
  bool KeyExists(const std::string& path) {
    std::unique_ptr<platform::RegistryKey> key;
    return registry_->OpenKey(RootKey::kLocalMachine, path, false, &key) == 0;
  }
  platform::DriverInfo2 Driver(const std::string& environment) {
    return {3,          "Plumeta", environment, "pscript5.dll", "plumeta.ppd",
            "ps5ui.dll"};
  }
  platform::PrinterInfo2 Printer(const std::string& name) {
    platform::PrinterInfo2 info;
    info.printer_name = name;
    info.share_name = "Plumeta";
    info.port_name = "PLUM:";
    info.driver_name = "Plumeta";
    info.location = "Local computer";
    info.print_processor = "WinPrint";
    info.datatype = "RAW";
    return info;
  }

  testing::TempFolder spool_;
  host::MemoryRegistry* registry_ = nullptr;
  std::unique_ptr<host::HostSpooler> spooler_;
};

TEST_F(HostSpoolerTest, RefusesPrintersAsWindowsDoes) {
  ASSERT_EQ(spooler_->InstallDriver(Driver("Windows x64")), 0u);
  platform::PrinterInfo2 no_port = Printer("Other");
  no_port.port_name = "NOWHERE:";
  const struct {
    const char* name;
    platform::PrinterInfo2 info;
    platform::ErrorCode expected;
  } kRows[] = {
      {"driver only for another environment", Printer("Plumeta"),
       platform::kErrorUnknownPrinterDriver},
      {"after the driver", Printer("Plumeta"), platform::kSuccess},
      {"same name", Printer("Plumeta"), platform::kErrorPrinterAlreadyExists},
      {"same name, other case", Printer("PLUMETA"),
       platform::kErrorPrinterAlreadyExists},
      {"unknown port", no_port, platform::kErrorUnknownPort},
      {"comma in the name", Printer("a,b"), platform::kErrorInvalidPrinterName},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    if (std::string(row.name) == "after the driver") {
      ASSERT_EQ(spooler_->InstallDriver(Driver("Windows NT x86")), 0u);
    }
    EXPECT_EQ(spooler_->CreatePrinter(row.info), row.expected);
  }
  std::vector<platform::PrinterSummary> printers;
  ASSERT_EQ(spooler_->ListPrinters(platform::kPrinterEnumLocal, 5, &printers),
            0u);
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].printer_name, "Plumeta");
  EXPECT_EQ(printers[0].port_name, "PLUM:");
  EXPECT_EQ(printers[0].attributes, platform::kPrinterAttributeLocal);
}

TEST_F(HostSpoolerTest, KeepsPrintersAndDriversUnderWindowsKeys) {
  ASSERT_EQ(spooler_->InstallDriver(Driver("Windows NT x86")), 0u);
  ASSERT_EQ(spooler_->CreatePrinter(Printer("Plumeta")), 0u);
  EXPECT_TRUE(KeyExists(std::string(kPrint) +
                        "\\Environments\\Windows NT x86\\Drivers\\Version-3\\"
                        "Plumeta"));
  std::unique_ptr<platform::RegistryKey> key;
  ASSERT_EQ(registry_->OpenKey(RootKey::kLocalMachine,
                               std::string(kPrint) + "\\Printers\\Plumeta",
                               false, &key),
            0u);
  platform::RegistryValue value;
  ASSERT_EQ(key->ReadValue("Printer Driver", &value), 0u);
  EXPECT_EQ(value.Text(), "Plumeta");
  ASSERT_EQ(key->ReadValue("Port", &value), 0u);
  EXPECT_EQ(value.Text(), "PLUM:");

  std::unique_ptr<platform::Printer> printer;
  ASSERT_EQ(spooler_->Open("plumeta", platform::kPrinterAllAccess, &printer),
            0u);
  platform::PrinterInfo2 info;
  ASSERT_EQ(printer->GetInfo(&info), 0u);
  platform::PrinterInfo2 expected = Printer("Plumeta");
  expected.attributes = platform::kPrinterAttributeLocal;
  EXPECT_EQ(info, expected);
}

// How the printer lists them is the spool-folder contract's (tests/contract).
TEST_F(HostSpoolerTest, JobsAreTheSpoolFoldersFilePairs) {
  platform::PrintJob job;
  job.printer_name = "Plumeta";
  EXPECT_EQ(host::AddSpoolJob(spool_.path(), job, "%!PS\n"), 1u);
  EXPECT_TRUE(std::filesystem::exists(spool_ / "00001.SPL"));
  EXPECT_TRUE(std::filesystem::exists(spool_ / "00001.SHD"));
}

}  // namespace
}  // namespace plumeta
