// Host stand-in (Linux only). The box's print spooler. Printers, drivers and
// ports live in the box's registry under the keys Windows keeps them in:
//
//   SYSTEM\CurrentControlSet\Control\Print\Printers\<printer>
//       "Name", "Share Name", "Port", "Printer Driver", "Description",
//       "Location", "Separator File", "Print Processor", "Datatype",
//       "Parameters" (REG_SZ); "Attributes", "Priority", "Default Priority",
//       "StartTime", "UntilTime", "Status" (REG_DWORD)
//   SYSTEM\CurrentControlSet\Control\Print\Environments\<environment>
//       \Drivers\Version-<n>\<driver>
//       "Driver", "Data File", "Configuration File" (REG_SZ), "Version"
//   SYSTEM\CurrentControlSet\Control\Print\Monitors\<monitor>\Ports\<port>
//
// and jobs are files in the spool folder (spool_jobs.h). As on Windows, a
// second printer of a name is refused (1802), and so is a printer whose
// driver the caller's environment lacks (1797) or whose port no monitor
// has (1796); a driver still used by a printer cannot be deleted (3001).
// Unlike Windows, a driver's files need not be in the driver folder (as
// under Wine), and a deleted printer goes at once rather than when its last
// handle is closed.
#ifndef PLATFORM_HOST_PRINT_SPOOLER_H_
#define PLATFORM_HOST_PRINT_SPOOLER_H_

#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace plumeta::host {

// The environment a 32-bit program's spooler calls use on that Windows:
// "Windows 4.0" on 9x, "Windows NT x86" on NT.
std::string CallerEnvironment(const platform::VersionInfo& version);

class HostSpooler : public platform::Spooler {
 public:
  // `spool_folder` is the Linux path of the box's spool folder.
  HostSpooler(std::unique_ptr<platform::Registry> registry,
              std::string spool_folder, std::string caller_environment);

  platform::ErrorCode Open(
      const std::string& name, std::uint32_t access,
      std::unique_ptr<platform::Printer>* printer) override;
  platform::ErrorCode ListPrinters(
      std::uint32_t flags, std::uint32_t level,
      std::vector<platform::PrinterSummary>* printers) override;
  platform::ErrorCode CreatePrinter(
      const platform::PrinterInfo2& info) override;
  platform::ErrorCode InstallDriver(
      const platform::DriverInfo2& driver) override;
  platform::ErrorCode RemoveDriver(const std::string& environment,
                                   const std::string& name) override;

 private:
  friend class HostPrinter;
  bool DriverExists(const std::string& environment, const std::string& name);
  bool PortExists(const std::string& port);
  bool PrinterUsesDriver(const std::string& driver);

  std::unique_ptr<platform::Registry> registry_;
  std::string spool_folder_;
  std::string caller_environment_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_SPOOLER_H_
