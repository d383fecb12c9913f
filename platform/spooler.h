// The print spooler: printers, their jobs, printer drivers. Records cross the
// boundary as value structs holding the fields of Windows' *_INFO_* records;
// a string left empty is handed to the spooler as a null pointer. Failures
// come back as Windows error codes. The members are not named after the
// winspool calls they stand for: <winspool.h> makes those names macros.
#ifndef PLATFORM_SPOOLER_H_
#define PLATFORM_SPOOLER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error_codes.h"

namespace plumeta::platform {

// OpenPrinterA access rights.
inline constexpr std::uint32_t kPrinterAccessUse = 0x00000008;
inline constexpr std::uint32_t kPrinterAllAccess = 0x000F000C;

// EnumPrintersA flags.
inline constexpr std::uint32_t kPrinterEnumLocal = 0x00000002;
inline constexpr std::uint32_t kPrinterEnumConnections = 0x00000004;

// PRINTER_ATTRIBUTE_* bits the programs look at.
inline constexpr std::uint32_t kPrinterAttributeDefault = 0x00000004;
inline constexpr std::uint32_t kPrinterAttributeShared = 0x00000008;
inline constexpr std::uint32_t kPrinterAttributeLocal = 0x00000040;

// SYSTEMTIME, in UTC as the spooler reports a job's submission.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day_of_week = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
  bool operator==(const SystemTime&) const = default;
};

// JOB_INFO_2A without the device mode and the security descriptor.
// JOB_STATUS_PRINTING: the port has the job.
inline constexpr std::uint32_t kJobStatusPrinting = 0x10;

struct PrintJob {
  std::uint32_t job_id = 0;
  std::string printer_name;
  std::string machine_name;
  std::string user_name;
  std::string document;
  std::string notify_name;
  std::string datatype;
  std::string print_processor;
  std::string parameters;
  std::string driver_name;
  std::string status_text;  // pStatus
  std::uint32_t status = 0;
  std::uint32_t priority = 0;
  std::uint32_t position = 0;
  std::uint32_t start_time = 0;
  std::uint32_t until_time = 0;
  std::uint32_t total_pages = 0;
  std::uint32_t size = 0;
  SystemTime submitted;
  std::uint32_t time = 0;  // milliseconds since the job started printing
  std::uint32_t pages_printed = 0;
  bool operator==(const PrintJob&) const = default;
};

// PRINTER_INFO_2A without the device mode and the security descriptor.
struct PrinterInfo2 {
  std::string server_name;
  std::string printer_name;
  std::string share_name;
  std::string port_name;
  std::string driver_name;
  std::string comment;
  std::string location;
  std::string sep_file;
  std::string print_processor;
  std::string datatype;
  std::string parameters;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 0;
  std::uint32_t default_priority = 0;
  std::uint32_t start_time = 0;
  std::uint32_t until_time = 0;
  std::uint32_t status = 0;
  std::uint32_t jobs = 0;  // cJobs
  std::uint32_t average_ppm = 0;
  bool operator==(const PrinterInfo2&) const = default;
};

// What EnumPrintersA gives at level 4 (name, server, attributes) or level 5
// (name, port, attributes); fields the level lacks stay empty.
struct PrinterSummary {
  std::string printer_name;
  std::string server_name;
  std::string port_name;
  std::uint32_t attributes = 0;
  bool operator==(const PrinterSummary&) const = default;
};

// DRIVER_INFO_2A. The file names are bare names in the spooler's driver
// folder of the environment.
struct DriverInfo2 {
  std::uint32_t version = 0;  // cVersion
  std::string name;
  std::string environment;  // "Windows NT x86", "Windows x64", "Windows 4.0"
  std::string driver_path;
  std::string data_file;
  std::string config_file;
  bool operator==(const DriverInfo2&) const = default;
};

// SetJobA commands: JOB_CONTROL_CANCEL (all systems) and JOB_CONTROL_DELETE
// (the NT family; 9x refuses it).
inline constexpr std::uint32_t kJobControlCancel = 3;
inline constexpr std::uint32_t kJobControlDelete = 5;

// A printer opened with OpenPrinterA; ClosePrinter when it goes.
class Printer {
 public:
  virtual ~Printer() = default;
  // EnumJobsA at level 2 for the jobs at positions `first` onwards, at most
  // `count` of them.
  virtual ErrorCode ListJobs(std::uint32_t first, std::uint32_t count,
                             std::vector<PrintJob>* jobs) = 0;
  // SetJobA with no job record: `command` is a kJobControl* value.
  virtual ErrorCode ControlJob(std::uint32_t job_id, std::uint32_t command) {
    (void)job_id;
    (void)command;
    return kErrorNotSupported;
  }
  // GetPrinterA / SetPrinterA at level 2; `command` is SetPrinterA's.
  virtual ErrorCode GetInfo(PrinterInfo2* info) = 0;
  virtual ErrorCode SetInfo(const PrinterInfo2& info,
                            std::uint32_t command) = 0;
  // DeletePrinter: the printer goes once every handle to it is closed.
  virtual ErrorCode Delete() = 0;
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  // OpenPrinterA with no data type and no device mode in its defaults.
  virtual ErrorCode Open(const std::string& name, std::uint32_t access,
                         std::unique_ptr<Printer>* printer) = 0;
  // EnumPrintersA on the local machine; `level` is 4 or 5.
  virtual ErrorCode ListPrinters(std::uint32_t flags, std::uint32_t level,
                                 std::vector<PrinterSummary>* printers) = 0;
  // EnumPrintersA with no buffer: `needed` gets the bytes a listing needs, 0
  // when there is nothing to list. Stand-ins that keep their printers as
  // records answer with the number of records.
  virtual ErrorCode PrintersSize(std::uint32_t flags, std::uint32_t level,
                                 std::uint32_t* needed) {
    std::vector<PrinterSummary> printers;
    const ErrorCode code = ListPrinters(flags, level, &printers);
    *needed = static_cast<std::uint32_t>(printers.size());
    return code;
  }
  // AddPrinterA at level 2 on the local machine; the handle it returns is
  // closed at once.
  virtual ErrorCode CreatePrinter(const PrinterInfo2& info) = 0;
  // AddPrinterDriverA at level 2 on the local machine.
  virtual ErrorCode InstallDriver(const DriverInfo2& driver) = 0;
  // DeletePrinterDriverA on the local machine.
  virtual ErrorCode RemoveDriver(const std::string& environment,
                                 const std::string& name) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_SPOOLER_H_
