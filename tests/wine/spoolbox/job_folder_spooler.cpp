#include "tests/wine/spoolbox/job_folder_spooler.h"

#include <utility>

#include "platform/host/print/spool_jobs.h"

namespace plumeta::spoolbox {
namespace {

class JobFolderPrinter : public platform::Printer {
 public:
  JobFolderPrinter(std::unique_ptr<platform::Printer> system_printer,
                   std::string name, const std::string& folder)
      : system_printer_(std::move(system_printer)),
        name_(std::move(name)),
        folder_(folder) {}

  platform::ErrorCode ListJobs(std::uint32_t first, std::uint32_t count,
                               std::vector<platform::PrintJob>* jobs) override {
    jobs->clear();
    const std::vector<platform::PrintJob> all =
        host::ReadSpoolJobs(folder_, name_);
    for (std::size_t i = first; i < all.size() && jobs->size() < count; ++i) {
      jobs->push_back(all[i]);
    }
    return platform::kSuccess;
  }

  platform::ErrorCode ControlJob(std::uint32_t job_id, std::uint32_t) override {
    for (const platform::PrintJob& job : host::ReadSpoolJobs(folder_, name_)) {
      if (job.job_id != job_id) continue;
      host::RemoveSpoolJob(folder_, job_id);
      return platform::kSuccess;
    }
    return platform::kErrorInvalidParameter;
  }

  platform::ErrorCode GetInfo(platform::PrinterInfo2* info) override {
    const platform::ErrorCode result = system_printer_->GetInfo(info);
    if (result == platform::kSuccess) {
      info->jobs = static_cast<std::uint32_t>(
          host::ReadSpoolJobs(folder_, name_).size());
    }
    return result;
  }

  platform::ErrorCode SetInfo(const platform::PrinterInfo2& info,
                              std::uint32_t command) override {
    return system_printer_->SetInfo(info, command);
  }

  platform::ErrorCode Delete() override { return system_printer_->Delete(); }

 private:
  std::unique_ptr<platform::Printer> system_printer_;
  std::string name_;
  const std::string& folder_;
};

}  // namespace

JobFolderSpooler::JobFolderSpooler(
    std::unique_ptr<platform::Spooler> system_spooler, std::string folder)
    : system_spooler_(std::move(system_spooler)), folder_(std::move(folder)) {}

platform::ErrorCode JobFolderSpooler::Open(
    const std::string& name, std::uint32_t access,
    std::unique_ptr<platform::Printer>* printer) {
  std::unique_ptr<platform::Printer> system_printer;
  const platform::ErrorCode result =
      system_spooler_->Open(name, access, &system_printer);
  if (result != platform::kSuccess) return result;
  *printer = std::make_unique<JobFolderPrinter>(std::move(system_printer), name,
                                                folder_);
  return platform::kSuccess;
}

platform::ErrorCode JobFolderSpooler::ListPrinters(
    std::uint32_t flags, std::uint32_t level,
    std::vector<platform::PrinterSummary>* printers) {
  return system_spooler_->ListPrinters(flags, level, printers);
}

platform::ErrorCode JobFolderSpooler::CreatePrinter(
    const platform::PrinterInfo2& info) {
  return system_spooler_->CreatePrinter(info);
}

platform::ErrorCode JobFolderSpooler::InstallDriver(
    const platform::DriverInfo2& driver) {
  return system_spooler_->InstallDriver(driver);
}

platform::ErrorCode JobFolderSpooler::RemoveDriver(
    const std::string& environment, const std::string& name) {
  return system_spooler_->RemoveDriver(environment, name);
}

std::string JobFolder(const std::string& environment_setting,
                      const std::string& windir) {
  if (!environment_setting.empty()) return environment_setting;
  return windir + "\\system32\\spool\\PRINTERS";
}

}  // namespace plumeta::spoolbox
