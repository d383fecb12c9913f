// The test monitor's spooler: the system's own spooler for printers and
// drivers, with each printer's jobs read from a folder in the box's job
// format (platform/host/print/spool_jobs.h). Wine's spooler keeps a print job
// inside the process that opened it, so a job watcher in another process
// never sees one; a job put in the folder is seen by every process.
#ifndef TESTS_WINE_SPOOLBOX_JOB_FOLDER_SPOOLER_H_
#define TESTS_WINE_SPOOLBOX_JOB_FOLDER_SPOOLER_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/spooler.h"

namespace plumeta::spoolbox {

class JobFolderSpooler : public platform::Spooler {
 public:
  // `folder` is a path of the system the program runs on.
  JobFolderSpooler(std::unique_ptr<platform::Spooler> system_spooler,
                   std::string folder);

  // The system spooler's printer, its jobs from the folder.
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
  std::unique_ptr<platform::Spooler> system_spooler_;
  std::string folder_;
};

// The folder the test monitor reads: PLUMETA_SPOOL_FOLDER when set, else the
// system's spool folder under `windir`.
std::string JobFolder(const std::string& environment_setting,
                      const std::string& windir);

}  // namespace plumeta::spoolbox

#endif  // TESTS_WINE_SPOOLBOX_JOB_FOLDER_SPOOLER_H_
