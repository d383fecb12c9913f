// The contract suites over the Win32 implementation, on scratch keys and
// folders of the prefix.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/files.h"
#include "platform/win32/registry.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/spooler.h"
#include "platform/win32/system.h"
#include "tests/contract/beds.h"
#include "tests/wine/spoolbox/job_folder_spooler.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::contract {

Side ThisSide() { return Side::kWin32; }
bool UnderWine() { return wine_test::RunsUnderWine(); }

namespace {

using platform::RootKey;

class Win32RegistryBed : public RegistryBed {
 public:
  explicit Win32RegistryBed(RootKey root)
      : root_(root), scratch_(win32::RootKeyHandle(root), "contract") {}
  platform::Registry& registry() override { return registry_; }
  RootKey root() const override { return root_; }
  const std::string& scratch() const override { return scratch_.path(); }

 private:
  win32::Win32Registry registry_;
  RootKey root_;
  wine_test::ScratchKey scratch_;
};

class Win32FilesBed : public FilesBed {
 public:
  // The scratch folder removes what it holds; read-only files it cannot.
  ~Win32FilesBed() override {
    for (const std::string& name : files_.FileNames(folder_.path())) {
      files_.SetReadOnly(folder_.File(name), false);
    }
  }
  platform::Files& files() override { return files_; }
  const std::string& folder() const override { return folder_.path(); }
  std::shared_ptr<void> Hold(const std::string& path) override {
    auto held = std::make_shared<win32::ScopedFileHandle>(::CreateFileA(
        path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(*held) << path;
    return held;
  }

 private:
  win32::Win32Files files_;
  wine_test::ScratchFolder folder_;
};

class Win32SystemBed : public SystemBed {
 public:
  ~Win32SystemBed() override {
    for (auto entry = saved_.rbegin(); entry != saved_.rend(); ++entry) {
      const auto& [name, value] = *entry;
      ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }
  }
  platform::System& system() override { return system_; }
  void SetEnvironment(const std::string& name, const char* value) override {
    saved_.emplace_back(name, system_.Environment(name));
    ::SetEnvironmentVariableA(name.c_str(), value);
  }
  std::string ExpectedProgramPath() override {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
  }

 private:
  win32::Win32System system_;
  // Put back last to first, so the first value saved is the one kept.
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The system spooler, with a driver and printer named for this process.
class Win32SpoolerBed : public SpoolerBed {
 public:
  ~Win32SpoolerBed() override {
    std::unique_ptr<platform::Printer> printer;
    if (spooler_.Open(name_, platform::kPrinterAllAccess, &printer) == 0) {
      printer->Delete();
    }
    printer.reset();
    spooler_.RemoveDriver(environment(), name_);
  }
  platform::Spooler& spooler() override { return spooler_; }
  const std::string& name() const override { return name_; }
  std::string environment() const override {
    return sizeof(void*) == 8 ? "Windows x64" : "Windows NT x86";
  }

 private:
  win32::Win32Spooler spooler_;
  std::string name_ =
      "PlumetaWineTest-" + std::to_string(::GetCurrentProcessId());
};

// The system spooler as the test monitor meets it under Wine: one printer,
// "Plumeta" on PLUM:, whose jobs Wine's EnumJobsA never lists.
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

class JobFolderBed : public SpoolFolderBed {
 public:
  platform::Spooler& spooler() override { return spooler_; }
  const std::string& spool_folder() const override { return folder_.path(); }

 private:
  wine_test::ScratchFolder folder_;
  spoolbox::JobFolderSpooler spooler_{std::make_unique<OnePrinterSpooler>(),
                                      folder_.path()};
};

INSTANTIATE_TEST_SUITE_P(
    Win32, RegistryContract,
    ::testing::Values(
        Maker<RegistryBed, Win32RegistryBed>("CurrentUser",
                                             RootKey::kCurrentUser),
        Maker<RegistryBed, Win32RegistryBed>("LocalMachine",
                                             RootKey::kLocalMachine)),
    BedName());
INSTANTIATE_TEST_SUITE_P(
    Win32, FilesContract,
    ::testing::Values(Maker<FilesBed, Win32FilesBed>("Prefix")), BedName());
INSTANTIATE_TEST_SUITE_P(
    Win32, SystemContract,
    ::testing::Values(Maker<SystemBed, Win32SystemBed>("Prefix")), BedName());
INSTANTIATE_TEST_SUITE_P(
    Win32, SpoolFolderContract,
    ::testing::Values(Maker<SpoolFolderBed, JobFolderBed>("JobFolder")),
    BedName());
INSTANTIATE_TEST_SUITE_P(
    Win32, SpoolerContract,
    ::testing::Values(Maker<SpoolerBed, Win32SpoolerBed>("System")), BedName());

}  // namespace
}  // namespace plumeta::contract
