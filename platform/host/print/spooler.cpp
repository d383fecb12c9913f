#include "platform/host/print/spooler.h"

#include <utility>
#include <vector>

#include "common/text.h"
#include "platform/host/print/print_registry.h"
#include "platform/host/print/spool_jobs.h"

namespace plumeta::host {
namespace {

using platform::ErrorCode;
using platform::RootKey;

constexpr char kPrint[] = "SYSTEM\\CurrentControlSet\\Control\\Print";
constexpr char kPrinters[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
constexpr char kEnvironments[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments";
constexpr char kNtPorts[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

const char* const kKnownEnvironments[] = {"Windows 4.0", "Windows NT x86",
                                          "Windows x64", "Windows IA64"};

std::string Text(platform::RegistryKey& key, const std::string& name) {
  platform::RegistryValue value;
  if (key.ReadValue(name, &value) != platform::kSuccess) return "";
  return value.Text();
}

std::uint32_t Dword(platform::RegistryKey& key, const std::string& name) {
  platform::RegistryValue value;
  if (key.ReadValue(name, &value) != platform::kSuccess) return 0;
  return value.Dword();
}

std::string PrinterKey(const std::string& name) {
  return std::string(kPrinters) + "\\" + name;
}

// Printer names are unique without regard to case; the key keeps the case
// the printer was added with.
std::string FindPrinterName(platform::Registry& registry,
                            const std::string& name) {
  for (const std::string& existing : MachineSubkeyNames(registry, kPrinters)) {
    if (SameName(existing, name)) return existing;
  }
  return "";
}

ErrorCode WritePrinterValues(platform::RegistryKey& key,
                             const platform::PrinterInfo2& info) {
  const std::pair<const char*, const std::string*> strings[] = {
      {"Name", &info.printer_name},
      {"Share Name", &info.share_name},
      {"Port", &info.port_name},
      {"Printer Driver", &info.driver_name},
      {"Description", &info.comment},
      {"Location", &info.location},
      {"Separator File", &info.sep_file},
      {"Print Processor", &info.print_processor},
      {"Datatype", &info.datatype},
      {"Parameters", &info.parameters},
  };
  for (const auto& [name, text] : strings) {
    if (ErrorCode error = key.WriteString(name, *text)) return error;
  }
  const std::pair<const char*, std::uint32_t> numbers[] = {
      {"Attributes", info.attributes},
      {"Priority", info.priority},
      {"Default Priority", info.default_priority},
      {"StartTime", info.start_time},
      {"UntilTime", info.until_time},
      {"Status", info.status},
  };
  for (const auto& [name, number] : numbers) {
    if (ErrorCode error = key.WriteDword(name, number)) return error;
  }
  return platform::kSuccess;
}

platform::PrinterInfo2 ReadPrinterValues(platform::RegistryKey& key) {
  platform::PrinterInfo2 info;
  info.printer_name = Text(key, "Name");
  info.share_name = Text(key, "Share Name");
  info.port_name = Text(key, "Port");
  info.driver_name = Text(key, "Printer Driver");
  info.comment = Text(key, "Description");
  info.location = Text(key, "Location");
  info.sep_file = Text(key, "Separator File");
  info.print_processor = Text(key, "Print Processor");
  info.datatype = Text(key, "Datatype");
  info.parameters = Text(key, "Parameters");
  info.attributes = Dword(key, "Attributes");
  info.priority = Dword(key, "Priority");
  info.default_priority = Dword(key, "Default Priority");
  info.start_time = Dword(key, "StartTime");
  info.until_time = Dword(key, "UntilTime");
  info.status = Dword(key, "Status");
  return info;
}

}  // namespace

class HostPrinter : public platform::Printer {
 public:
  HostPrinter(HostSpooler& spooler, std::string name)
      : spooler_(spooler), name_(std::move(name)) {}

  ErrorCode ListJobs(std::uint32_t first, std::uint32_t count,
                     std::vector<platform::PrintJob>* jobs) override {
    jobs->clear();
    if (!Exists()) return platform::kErrorInvalidHandle;
    std::vector<platform::PrintJob> all =
        ReadSpoolJobs(spooler_.spool_folder_, name_);
    for (std::size_t i = first; i < all.size() && jobs->size() < count; ++i) {
      jobs->push_back(all[i]);
    }
    return platform::kSuccess;
  }

  // Deleting or cancelling a job removes it from the queue; the port's
  // command, if one runs for it, runs to its end.
  ErrorCode ControlJob(std::uint32_t job_id, std::uint32_t command) override {
    if (!Exists()) return platform::kErrorInvalidHandle;
    if (command != platform::kJobControlDelete &&
        command != platform::kJobControlCancel) {
      return platform::kErrorInvalidParameter;
    }
    for (const platform::PrintJob& job :
         ReadSpoolJobs(spooler_.spool_folder_, name_)) {
      if (job.job_id != job_id) continue;
      RemoveSpoolJob(spooler_.spool_folder_, job_id);
      return platform::kSuccess;
    }
    return platform::kErrorInvalidParameter;
  }

  ErrorCode GetInfo(platform::PrinterInfo2* info) override {
    auto key = OpenExistingMachineKey(*spooler_.registry_, PrinterKey(name_));
    if (!key) return platform::kErrorInvalidHandle;
    *info = ReadPrinterValues(*key);
    info->jobs = static_cast<std::uint32_t>(
        ReadSpoolJobs(spooler_.spool_folder_, name_).size());
    return platform::kSuccess;
  }

  // Renaming a printer is not supported: the name stays the printer's.
  ErrorCode SetInfo(const platform::PrinterInfo2& info,
                    std::uint32_t) override {
    auto key = OpenExistingMachineKey(*spooler_.registry_, PrinterKey(name_));
    if (!key) return platform::kErrorInvalidHandle;
    platform::PrinterInfo2 stored = info;
    stored.printer_name = name_;
    return WritePrinterValues(*key, stored);
  }

  ErrorCode Delete() override {
    if (!Exists()) return platform::kErrorInvalidHandle;
    return spooler_.registry_->DeleteKeyTree(RootKey::kLocalMachine,
                                             PrinterKey(name_));
  }

 private:
  bool Exists() {
    return OpenExistingMachineKey(*spooler_.registry_, PrinterKey(name_)) !=
           nullptr;
  }

  HostSpooler& spooler_;
  std::string name_;
};

std::string CallerEnvironment(const platform::VersionInfo& version) {
  return version.platform == platform::PlatformId::kNt ? "Windows NT x86"
                                                       : "Windows 4.0";
}

HostSpooler::HostSpooler(std::unique_ptr<platform::Registry> registry,
                         std::string spool_folder,
                         std::string caller_environment)
    : registry_(std::move(registry)),
      spool_folder_(std::move(spool_folder)),
      caller_environment_(std::move(caller_environment)) {}

ErrorCode HostSpooler::Open(const std::string& name, std::uint32_t,
                            std::unique_ptr<platform::Printer>* printer) {
  const std::string found = FindPrinterName(*registry_, name);
  if (found.empty()) return platform::kErrorInvalidPrinterName;
  *printer = std::make_unique<HostPrinter>(*this, found);
  return platform::kSuccess;
}

ErrorCode HostSpooler::ListPrinters(
    std::uint32_t, std::uint32_t level,
    std::vector<platform::PrinterSummary>* printers) {
  printers->clear();
  if (level != 4 && level != 5) return platform::kErrorInvalidLevel;
  for (const std::string& name : MachineSubkeyNames(*registry_, kPrinters)) {
    auto key = OpenExistingMachineKey(*registry_, PrinterKey(name));
    if (!key) continue;
    platform::PrinterSummary summary;
    summary.printer_name = name;
    summary.attributes = Dword(*key, "Attributes");
    if (level == 5) summary.port_name = Text(*key, "Port");
    printers->push_back(summary);
  }
  return platform::kSuccess;
}

ErrorCode HostSpooler::CreatePrinter(const platform::PrinterInfo2& info) {
  if (info.printer_name.empty() ||
      info.printer_name.find_first_of("\\,") != std::string::npos) {
    return platform::kErrorInvalidPrinterName;
  }
  if (!FindPrinterName(*registry_, info.printer_name).empty()) {
    return platform::kErrorPrinterAlreadyExists;
  }
  if (!DriverExists(caller_environment_, info.driver_name)) {
    return platform::kErrorUnknownPrinterDriver;
  }
  if (!PortExists(info.port_name)) return platform::kErrorUnknownPort;
  std::unique_ptr<platform::RegistryKey> key;
  if (ErrorCode error = registry_->OpenKey(
          RootKey::kLocalMachine, PrinterKey(info.printer_name), true, &key)) {
    return error;
  }
  platform::PrinterInfo2 stored = info;
  stored.attributes |= platform::kPrinterAttributeLocal;
  return WritePrinterValues(*key, stored);
}

ErrorCode HostSpooler::InstallDriver(const platform::DriverInfo2& driver) {
  bool known = false;
  for (const char* environment : kKnownEnvironments) {
    known = known || driver.environment == environment;
  }
  if (!known) return platform::kErrorUnknownPrinterDriverEnvironment;
  if (driver.name.empty() || driver.driver_path.empty()) {
    return platform::kErrorInvalidParameter;
  }
  const std::string path = std::string(kEnvironments) + "\\" +
                           driver.environment + "\\Drivers\\Version-" +
                           std::to_string(driver.version) + "\\" + driver.name;
  std::unique_ptr<platform::RegistryKey> key;
  if (ErrorCode error =
          registry_->OpenKey(RootKey::kLocalMachine, path, true, &key)) {
    return error;
  }
  if (ErrorCode error = key->WriteString("Driver", driver.driver_path)) {
    return error;
  }
  if (ErrorCode error = key->WriteString("Data File", driver.data_file)) {
    return error;
  }
  if (ErrorCode error =
          key->WriteString("Configuration File", driver.config_file)) {
    return error;
  }
  return key->WriteDword("Version", driver.version);
}

ErrorCode HostSpooler::RemoveDriver(const std::string& environment,
                                    const std::string& name) {
  const std::string drivers =
      std::string(kEnvironments) + "\\" + environment + "\\Drivers";
  for (const std::string& version : MachineSubkeyNames(*registry_, drivers)) {
    const std::string path = drivers + "\\" + version + "\\" + name;
    if (!OpenExistingMachineKey(*registry_, path)) continue;
    if (environment == caller_environment_ && PrinterUsesDriver(name)) {
      return platform::kErrorPrinterDriverInUse;
    }
    return registry_->DeleteKeyTree(RootKey::kLocalMachine, path);
  }
  return platform::kErrorUnknownPrinterDriver;
}

bool HostSpooler::DriverExists(const std::string& environment,
                               const std::string& name) {
  const std::string drivers =
      std::string(kEnvironments) + "\\" + environment + "\\Drivers";
  for (const std::string& version : MachineSubkeyNames(*registry_, drivers)) {
    if (OpenExistingMachineKey(*registry_,
                               drivers + "\\" + version + "\\" + name)) {
      return true;
    }
  }
  return false;
}

bool HostSpooler::PortExists(const std::string& port) {
  if (port.empty()) return false;
  for (const std::string& monitor :
       MachineSubkeyNames(*registry_, kPrintMonitorsKey)) {
    const std::string ports =
        std::string(kPrintMonitorsKey) + "\\" + monitor + "\\Ports\\" + port;
    if (OpenExistingMachineKey(*registry_, ports)) return true;
  }
  if (OpenExistingMachineKey(*registry_,
                             std::string(kPrint) + "\\Ports\\" + port)) {
    return true;
  }
  if (auto nt_ports = OpenExistingMachineKey(*registry_, kNtPorts)) {
    platform::RegistryValue value;
    if (nt_ports->ReadValue(port, &value) == platform::kSuccess) return true;
  }
  return false;
}

bool HostSpooler::PrinterUsesDriver(const std::string& driver) {
  for (const std::string& name : MachineSubkeyNames(*registry_, kPrinters)) {
    auto key = OpenExistingMachineKey(*registry_, PrinterKey(name));
    if (key && SameName(Text(*key, "Printer Driver"), driver)) return true;
  }
  return false;
}

}  // namespace plumeta::host
