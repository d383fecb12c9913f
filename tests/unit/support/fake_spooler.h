// An in-memory spooler: printers, drivers and jobs a test prepares and
// inspects. It refuses a second printer of a name (as Windows does) unless
// told to behave like Wine's, and a printer whose driver it does not have.
#ifndef TESTS_UNIT_SUPPORT_FAKE_SPOOLER_H_
#define TESTS_UNIT_SUPPORT_FAKE_SPOOLER_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeSpooler : public platform::Spooler {
 public:
  struct StoredPrinter {
    platform::PrinterInfo2 info;
    std::vector<platform::PrintJob> jobs;
  };

  std::vector<StoredPrinter> printers;  // in the order they were added
  std::vector<platform::DriverInfo2> drivers;
  bool allow_duplicate_printers = false;  // Wine's spooler
  // The environment AddPrinter looks the driver up in; empty: any.
  std::string caller_environment = "Windows NT x86";
  platform::ErrorCode enum_printers_error = platform::kSuccess;
  // What PrintersSize fails with, as a spooler that is not running.
  platform::ErrorCode printers_size_error = platform::kSuccess;
  // Runs as a listing of the printers starts (its size query).
  std::function<void()> on_list_printers;
  // What every ListJobs fails with, as a spooler that stopped answering.
  platform::ErrorCode enum_jobs_error = platform::kSuccess;
  // What every Open fails with, as a spooler that is restarting.
  platform::ErrorCode open_error = platform::kSuccess;
  CallLog* log = nullptr;

  platform::ErrorCode Open(
      const std::string& name, std::uint32_t access,
      std::unique_ptr<platform::Printer>* printer) override {
    Record(log, "spooler open " + name + " " + Hex(access));
    if (open_error != platform::kSuccess) return open_error;
    if (Find(name) == nullptr) return platform::kErrorInvalidPrinterName;
    *printer = std::make_unique<OpenedPrinter>(*this, name);
    return platform::kSuccess;
  }

  platform::ErrorCode ListPrinters(
      std::uint32_t flags, std::uint32_t level,
      std::vector<platform::PrinterSummary>* found) override {
    Record(log, "spooler enum-printers " + Hex(flags) + " level " +
                    std::to_string(level));
    if (enum_printers_error != platform::kSuccess) return enum_printers_error;
    found->clear();
    for (const StoredPrinter& printer : printers) {
      platform::PrinterSummary summary;
      summary.printer_name = printer.info.printer_name;
      summary.attributes = printer.info.attributes;
      if (level == 5) summary.port_name = printer.info.port_name;
      found->push_back(summary);
    }
    return platform::kSuccess;
  }

  platform::ErrorCode PrintersSize(std::uint32_t, std::uint32_t,
                                   std::uint32_t* needed) override {
    if (on_list_printers) on_list_printers();
    *needed = static_cast<std::uint32_t>(printers.size());
    return printers_size_error;
  }

  platform::ErrorCode CreatePrinter(
      const platform::PrinterInfo2& info) override {
    Record(log, "spooler add-printer " + Describe(info));
    if (!allow_duplicate_printers && Find(info.printer_name) != nullptr) {
      return platform::kErrorPrinterAlreadyExists;
    }
    if (FindDriver(caller_environment, info.driver_name) == nullptr) {
      return platform::kErrorUnknownPrinterDriver;
    }
    printers.push_back({info, {}});
    return platform::kSuccess;
  }

  platform::ErrorCode InstallDriver(
      const platform::DriverInfo2& driver) override {
    Record(log, "spooler add-driver " + Describe(driver));
    for (platform::DriverInfo2& existing : drivers) {
      if (existing.environment == driver.environment &&
          existing.name == driver.name) {
        existing = driver;
        return platform::kSuccess;
      }
    }
    drivers.push_back(driver);
    return platform::kSuccess;
  }

  platform::ErrorCode RemoveDriver(const std::string& environment,
                                   const std::string& name) override {
    Record(log, "spooler delete-driver " + environment + "|" + name);
    for (auto it = drivers.begin(); it != drivers.end(); ++it) {
      if (it->environment == environment && it->name == name) {
        drivers.erase(it);
        return platform::kSuccess;
      }
    }
    return platform::kErrorUnknownPrinterDriver;
  }

  StoredPrinter* Find(const std::string& name) {
    for (StoredPrinter& printer : printers) {
      if (printer.info.printer_name == name) return &printer;
    }
    return nullptr;
  }
  const platform::DriverInfo2* FindDriver(const std::string& environment,
                                          const std::string& name) const {
    for (const platform::DriverInfo2& driver : drivers) {
      if ((environment.empty() || driver.environment == environment) &&
          driver.name == name) {
        return &driver;
      }
    }
    return nullptr;
  }

  static std::string Describe(const platform::DriverInfo2& d) {
    return d.environment + "|" + std::to_string(d.version) + "|" + d.name +
           "|" + d.driver_path + "|" + d.data_file + "|" + d.config_file;
  }
  // Every field, empty ones included, so a test sees what was left unset.
  static std::string Describe(const platform::PrinterInfo2& p) {
    return p.server_name + "|" + p.printer_name + "|" + p.share_name + "|" +
           p.port_name + "|" + p.driver_name + "|" + p.comment + "|" +
           p.location + "|" + p.sep_file + "|" + p.print_processor + "|" +
           p.datatype + "|" + p.parameters + "|" +
           std::to_string(p.attributes) + "|" + std::to_string(p.priority) +
           "|" + std::to_string(p.default_priority) + "|" +
           std::to_string(p.start_time) + "|" + std::to_string(p.until_time) +
           "|" + std::to_string(p.status) + "|" + std::to_string(p.jobs) + "|" +
           std::to_string(p.average_ppm);
  }
  static std::string Hex(std::uint32_t number) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
      text.insert(text.begin(), kDigits[number % 16]);
      number /= 16;
    } while (number != 0);
    return "0x" + text;
  }

 private:
  class OpenedPrinter : public platform::Printer {
   public:
    OpenedPrinter(FakeSpooler& spooler, std::string name)
        : spooler_(spooler), name_(std::move(name)) {}
    ~OpenedPrinter() override {
      Record(spooler_.log, "spooler close " + name_);
    }

    platform::ErrorCode ListJobs(
        std::uint32_t first, std::uint32_t count,
        std::vector<platform::PrintJob>* jobs) override {
      Record(spooler_.log, "spooler enum-jobs " + name_);
      StoredPrinter* printer = spooler_.Find(name_);
      if (printer == nullptr) return platform::kErrorInvalidHandle;
      if (spooler_.enum_jobs_error != platform::kSuccess) {
        return spooler_.enum_jobs_error;
      }
      jobs->clear();
      for (std::uint32_t i = first;
           i < printer->jobs.size() && jobs->size() < count; ++i) {
        jobs->push_back(printer->jobs[i]);
      }
      return platform::kSuccess;
    }
    // Any command deletes the job, as JOB_CONTROL_DELETE does.
    platform::ErrorCode ControlJob(std::uint32_t job_id,
                                   std::uint32_t command) override {
      Record(spooler_.log, "spooler control-job " + name_ + " " +
                               std::to_string(job_id) + " " +
                               std::to_string(command));
      StoredPrinter* printer = spooler_.Find(name_);
      if (printer == nullptr) return platform::kErrorInvalidHandle;
      const auto gone = std::erase_if(
          printer->jobs, [&](const auto& job) { return job.job_id == job_id; });
      return gone ? platform::kSuccess : platform::kErrorInvalidParameter;
    }
    platform::ErrorCode GetInfo(platform::PrinterInfo2* info) override {
      StoredPrinter* printer = spooler_.Find(name_);
      if (printer == nullptr) return platform::kErrorInvalidHandle;
      *info = printer->info;
      return platform::kSuccess;
    }
    platform::ErrorCode SetInfo(const platform::PrinterInfo2& info,
                                std::uint32_t) override {
      StoredPrinter* printer = spooler_.Find(name_);
      if (printer == nullptr) return platform::kErrorInvalidHandle;
      printer->info = info;
      return platform::kSuccess;
    }
    platform::ErrorCode Delete() override {
      Record(spooler_.log, "spooler delete-printer " + name_);
      for (auto it = spooler_.printers.begin(); it != spooler_.printers.end();
           ++it) {
        if (it->info.printer_name == name_) {
          spooler_.printers.erase(it);
          return platform::kSuccess;
        }
      }
      return platform::kErrorInvalidHandle;
    }

   private:
    FakeSpooler& spooler_;
    std::string name_;
  };
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_SPOOLER_H_
