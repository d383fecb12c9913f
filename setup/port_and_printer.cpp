#include "setup/port_and_printer.h"

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "common/errors.h"
#include "common/text.h"
#include "setup/setup_names.h"

namespace plumeta::setup {
namespace {

using platform::RootKey;

struct PortValue {
  const char* name;
  std::variant<std::string, std::uint32_t> data;
};

std::vector<PortValue> PortValues(const std::string& windows_prefix) {
  return {
      {"Arguments", "@" + windows_prefix + "system32\\plum.rsp -"},
      {"Command", windows_prefix + "system32\\gswin32c.exe"},
      {"Description", std::string("Redirected Port")},
      {"Printer", std::string()},
      {"Output", 0u},
      {"ShowWindow", 2u},
      {"RunUser", 0u},
      {"Delay", 300u},
      {"LogFileUse", 0u},
      {"LogFileName", std::string()},
      {"LogFileDebug", 0u},
      {"PrintError", 0u},
  };
}

// The port's key under `ports_key`.
std::string PortKey(const char* ports_key) {
  return std::string(ports_key) + "\\" + kPortName;
}

bool HasPrinter(platform::Spooler& spooler, const std::string& name) {
  std::vector<platform::PrinterSummary> printers;
  if (spooler.ListPrinters(platform::kPrinterEnumLocal, 4, &printers) !=
      platform::kSuccess) {
    return false;
  }
  for (const platform::PrinterSummary& printer : printers) {
    if (SameName(printer.printer_name, name)) return true;
  }
  return false;
}

}  // namespace

void WritePortConfiguration(platform::Registry& registry,
                            const std::string& windows_prefix) {
  const std::vector<PortValue> values = PortValues(windows_prefix);
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(RootKey::kLocalMachine, PortKey(kMonitorPortsKey),
                       /*create=*/true, &key) != platform::kSuccess) {
    throw RegistryError::FailedToSetData(values.front().name);
  }
  for (const PortValue& value : values) {
    const platform::ErrorCode written =
        std::holds_alternative<std::string>(value.data)
            ? key->WriteString(value.name, std::get<std::string>(value.data))
            : key->WriteDword(value.name, std::get<std::uint32_t>(value.data));
    if (written != platform::kSuccess) {
      throw RegistryError::FailedToSetData(value.name);
    }
  }
}

void CreateSpoolerPortKey(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  registry.OpenKey(RootKey::kLocalMachine, PortKey(kSpoolerPortsKey),
                   /*create=*/true, &key);
}

platform::PrinterInfo2 PrinterRecord(const std::string& printer_name,
                                     const std::string& port,
                                     const std::string& driver_name,
                                     const std::string& print_processor) {
  platform::PrinterInfo2 record;
  record.printer_name = printer_name;
  record.share_name = kPrinterName;
  record.port_name = port;
  record.driver_name = driver_name;
  record.location = "Local computer";
  record.print_processor = print_processor;
  record.datatype = "RAW";
  return record;
}

bool AddVirtualPrinter(platform::Spooler& spooler,
                       const std::string& printer_name, const std::string& port,
                       const std::string& driver_name,
                       const std::string& print_processor) {
  if (HasPrinter(spooler, printer_name)) return false;
  return spooler.CreatePrinter(
             PrinterRecord(printer_name, port, driver_name, print_processor)) ==
         platform::kSuccess;
}

bool DeletePrinterByName(platform::Spooler& spooler, const std::string& name) {
  std::unique_ptr<platform::Printer> printer;
  if (spooler.Open(name, platform::kPrinterAllAccess, &printer) !=
      platform::kSuccess) {
    return false;
  }
  return printer->Delete() == platform::kSuccess;
}

void RemovePortConfiguration(platform::Registry& registry) {
  const std::string port_key = PortKey(kMonitorPortsKey);
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(RootKey::kLocalMachine, port_key, /*create=*/false,
                       &key) != platform::kSuccess) {
    return;
  }
  key.reset();
  registry.DeleteKeyTree(RootKey::kLocalMachine, port_key);

  std::unique_ptr<platform::RegistryKey> ports;
  if (registry.OpenKey(RootKey::kLocalMachine, kMonitorPortsKey,
                       /*create=*/false, &ports) != platform::kSuccess) {
    return;
  }
  std::vector<std::string> subkeys;
  std::vector<std::string> values;
  if (ports->SubkeyNames(&subkeys) != platform::kSuccess ||
      ports->ValueNames(&values) != platform::kSuccess || !subkeys.empty() ||
      !values.empty()) {
    return;
  }
  ports.reset();
  registry.DeleteKeyTree(RootKey::kLocalMachine, kMonitorPortsKey);
}

}  // namespace plumeta::setup
