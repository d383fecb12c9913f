// The printer driver: its files on the systems whose driver the setup
// program brings along (NT 4.0, 9x), the Ghostscript program copies there,
// and its registration with the spooler.
#ifndef SETUP_DRIVER_DEPLOYMENT_H_
#define SETUP_DRIVER_DEPLOYMENT_H_

#include <string>
#include <vector>

#include "common/os_edition.h"
#include "platform/files.h"
#include "platform/spooler.h"
#include "setup/file_operator.h"

namespace plumeta::setup {

// The driver records registered for `family`, in order: "Windows NT x86"
// (and "Windows x64" after it when `wow64`) on NtModern, one each on Nt4
// and Win9x.
std::vector<platform::DriverInfo2> DriverRecords(OsFamily family, bool wow64);

// The environment whose "Plumeta" driver a removal deletes.
std::string RemovalEnvironment(OsFamily family);

// The driver's source files (full paths under `windir`, the Windows folder
// without a trailing backslash) and the folders they are copied to; empty
// on NtModern, whose driver is the system's own.
std::vector<std::string> DriverSources(OsFamily family,
                                       const std::string& windir);
std::vector<std::string> DriverDestinations(OsFamily family,
                                            const std::string& windir);

// Copies gswin32c.exe and gsdll32.dll from the system folder up into the
// Windows folder, overwriting; failures are not reported.
void CopyGhostscriptPrograms(platform::Files& files,
                             const std::string& windows_prefix);

// Fills FilesFrom of `fo1` with the family's sources and runs it once per
// destination. The shell's results are not examined.
void CopyDriverFiles(TFileOperator& fo1, OsFamily family,
                     const std::string& windir);

// AddPrinterDriverA for each record; the spooler's answers are ignored.
void RegisterDrivers(platform::Spooler& spooler, OsFamily family, bool wow64);

// DeletePrinterDriverA of the family's 32-bit registration; ignored answer.
void RemoveDriver(platform::Spooler& spooler, OsFamily family);

}  // namespace plumeta::setup

#endif  // SETUP_DRIVER_DEPLOYMENT_H_
