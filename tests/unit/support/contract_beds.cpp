// The contract suites over the host stand-ins: the registry kept in memory
// and in the box's files, and a fresh box for files, system and spooler.
#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/host/base/unique_fd.h"
#include "platform/host/box/box_process.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/kernel/files.h"
#include "platform/host/kernel/system.h"
#include "platform/host/print/spooler.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/host/registry/store_registry.h"
#include "tests/contract/beds.h"
#include "tests/support/temp_folder.h"

namespace plumeta::contract {

Side ThisSide() { return Side::kHost; }
bool UnderWine() { return false; }

namespace {

using platform::RootKey;

class HostRegistryBed : public RegistryBed {
 public:
  HostRegistryBed(bool in_files, RootKey root) : root_(root) {
    if (in_files) {
      registry_ = std::make_unique<host::FileRegistry>(folder_.path());
    } else {
      registry_ = std::make_unique<host::MemoryRegistry>();
    }
  }
  platform::Registry& registry() override { return *registry_; }
  RootKey root() const override { return root_; }
  const std::string& scratch() const override { return scratch_; }

 private:
  testing::TempFolder folder_;
  std::unique_ptr<platform::Registry> registry_;
  RootKey root_;
  std::string scratch_ = "Software\\Contract";
};

// A box made for Windows 7, as a default Wine prefix is.
class Box {
 protected:
  Box() {
    std::string error;
    EXPECT_TRUE(
        host::CreateBox(box_.path(), *host::FindWindowsEdition("7"), &error))
        << error;
    process_ = host::BoxProcess::Open(box_.path(), &error);
    EXPECT_TRUE(process_) << error;
  }

  testing::TempFolder box_;
  std::shared_ptr<host::BoxProcess> process_;
};

class HostFilesBed : public FilesBed, Box {
 public:
  HostFilesBed() : files_(process_) {
    EXPECT_EQ(files_.CreateFolder(folder_), platform::kSuccess);
  }
  platform::Files& files() override { return files_; }
  const std::string& folder() const override { return folder_; }
  // Held as the Ghostscript stand-in holds its output file.
  std::shared_ptr<void> Hold(const std::string& path) override {
    auto fd = std::make_shared<host::UniqueFd>(
        ::open(process_->paths().ToLinux(path).value_or("").c_str(),
               O_RDONLY | O_CLOEXEC));
    EXPECT_TRUE(fd->valid() && ::flock(fd->get(), LOCK_EX | LOCK_NB) == 0);
    return fd;
  }

 private:
  host::HostFiles files_;
  std::string folder_ = "C:\\Users\\User\\AppData\\Local\\Temp\\Contract";
};

class HostSystemBed : public SystemBed, Box {
 public:
  HostSystemBed() : facts_(host::FindWindowsEdition("7")->facts) { Remake(); }
  platform::System& system() override { return *system_; }
  void SetEnvironment(const std::string& name, const char* value) override {
    auto& list = facts_.environment;
    list.erase(
        std::remove_if(list.begin(), list.end(),
                       [&](const auto& entry) { return entry.first == name; }),
        list.end());
    if (value != nullptr) facts_.SetEnvironment(name, value);
    Remake();
  }
  std::string ExpectedProgramPath() override {
    const std::string program = std::filesystem::read_symlink("/proc/self/exe");
    return system_process_->paths().ToWindows(
               program.substr(0, program.find_last_of('/'))) +
           "\\plumeta_unit_tests.exe";
  }

 private:
  // The facts are the process's own: a change makes the process anew.
  void Remake() {
    system_process_ = std::make_shared<host::BoxProcess>(box_.path(), facts_);
    system_ = std::make_unique<host::HostSystem>(system_process_);
  }

  host::SystemFacts facts_;
  std::shared_ptr<host::BoxProcess> system_process_;
  std::unique_ptr<host::HostSystem> system_;
};

// A spooler over a registry in memory that has the port PLUM:.
std::unique_ptr<host::HostSpooler> SpoolerWithPort(const std::string& folder) {
  auto registry = std::make_unique<host::MemoryRegistry>();
  std::unique_ptr<platform::RegistryKey> port;
  EXPECT_EQ(registry->OpenKey(RootKey::kLocalMachine,
                              "SYSTEM\\CurrentControlSet\\Control\\Print\\"
                              "Monitors\\Redirected Port\\Ports\\PLUM:",
                              true, &port),
            platform::kSuccess);
  return std::make_unique<host::HostSpooler>(std::move(registry), folder,
                                             "Windows NT x86");
}

class HostSpoolerBed : public SpoolerBed {
 public:
  platform::Spooler& spooler() override { return *spooler_; }
  const std::string& name() const override { return name_; }
  std::string environment() const override { return "Windows NT x86"; }

 protected:
  testing::TempFolder spool_;
  std::unique_ptr<host::HostSpooler> spooler_ = SpoolerWithPort(spool_.path());
  std::string name_ = "Plumeta";
};

// The printer Plumeta on PLUM: with its driver.
class HostSpoolFolderBed : public SpoolFolderBed, HostSpoolerBed {
 public:
  HostSpoolFolderBed() {
    EXPECT_EQ(spooler_->InstallDriver({3, name_, environment(), "pscript5.dll",
                                       "plumeta.ppd", "ps5ui.dll"}),
              platform::kSuccess);
    platform::PrinterInfo2 printer;
    printer.printer_name = printer.driver_name = name_;
    printer.port_name = "PLUM:";
    printer.print_processor = "WinPrint";
    printer.datatype = "RAW";
    EXPECT_EQ(spooler_->CreatePrinter(printer), platform::kSuccess);
  }
  platform::Spooler& spooler() override { return *spooler_; }
  const std::string& spool_folder() const override { return spool_.path(); }
};

INSTANTIATE_TEST_SUITE_P(
    Host, RegistryContract,
    ::testing::Values(
        Maker<RegistryBed, HostRegistryBed>("MemoryCurrentUser", false,
                                            RootKey::kCurrentUser),
        Maker<RegistryBed, HostRegistryBed>("MemoryLocalMachine", false,
                                            RootKey::kLocalMachine),
        Maker<RegistryBed, HostRegistryBed>("FilesCurrentUser", true,
                                            RootKey::kCurrentUser),
        Maker<RegistryBed, HostRegistryBed>("FilesLocalMachine", true,
                                            RootKey::kLocalMachine)),
    BedName());
INSTANTIATE_TEST_SUITE_P(
    Host, FilesContract,
    ::testing::Values(Maker<FilesBed, HostFilesBed>("Box")), BedName());
INSTANTIATE_TEST_SUITE_P(
    Host, SystemContract,
    ::testing::Values(Maker<SystemBed, HostSystemBed>("Box")), BedName());
INSTANTIATE_TEST_SUITE_P(
    Host, SpoolFolderContract,
    ::testing::Values(Maker<SpoolFolderBed, HostSpoolFolderBed>("Box")),
    BedName());
INSTANTIATE_TEST_SUITE_P(
    Host, SpoolerContract,
    ::testing::Values(Maker<SpoolerBed, HostSpoolerBed>("Box")), BedName());

}  // namespace
}  // namespace plumeta::contract
