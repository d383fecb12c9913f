// The port "PLUM:" of the Redirected Port monitor, and the printer on it.
#ifndef SETUP_PORT_AND_PRINTER_H_
#define SETUP_PORT_AND_PRINTER_H_

#include <string>

#include "platform/registry.h"
#include "platform/spooler.h"

namespace plumeta::setup {

// Writes the twelve values of the port's key in their order; the first that
// cannot be written (or a key that cannot be opened) raises RegistryError
// "Failed to set data for '<value>'".
void WritePortConfiguration(platform::Registry& registry,
                            const std::string& windows_prefix);

// Windows 9x only: the spooler's own (empty) key for the port.
void CreateSpoolerPortKey(platform::Registry& registry);

// The record AddPrinterA gets for the printer.
platform::PrinterInfo2 PrinterRecord(const std::string& printer_name,
                                     const std::string& port,
                                     const std::string& driver_name,
                                     const std::string& print_processor);

// Adds the printer unless a local printer of that name exists already (the
// spooler of Windows refuses a second one, Wine's would add it); true when
// the spooler added it.
bool AddVirtualPrinter(platform::Spooler& spooler,
                       const std::string& printer_name, const std::string& port,
                       const std::string& driver_name,
                       const std::string& print_processor);

// Opens the printer with full access and deletes it; true when deleted.
bool DeletePrinterByName(platform::Spooler& spooler, const std::string& name);

// Deletes the port's key with anything below it, then the monitor's "Ports"
// key when no other port (nor any value) is left in it.
void RemovePortConfiguration(platform::Registry& registry);

}  // namespace plumeta::setup

#endif  // SETUP_PORT_AND_PRINTER_H_
