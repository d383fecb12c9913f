// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/spooler.h"

#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta::win32 {
namespace {

using platform::ErrorCode;

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// The spooler takes writable strings; an empty one goes as a null pointer.
char* OrNull(std::string& text) { return text.empty() ? nullptr : text.data(); }

// Runs a "size, then fill" winspool call: `call(buffer, size, &needed)`
// until the buffer is large enough.
template <typename Call>
ErrorCode FillBuffer(std::vector<BYTE>* buffer, Call call) {
  DWORD needed = 0;
  buffer->assign(1, 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ::SetLastError(ERROR_SUCCESS);
    if (call(buffer->data(), static_cast<DWORD>(buffer->size()), &needed)) {
      return platform::kSuccess;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer->size()) {
      return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    buffer->assign(needed, 0);
  }
  return ERROR_INSUFFICIENT_BUFFER;
}

platform::SystemTime FromSystemTime(const SYSTEMTIME& time) {
  return {time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
          time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

platform::PrintJob FromJobInfo(const JOB_INFO_2A& job) {
  platform::PrintJob result;
  result.job_id = job.JobId;
  result.printer_name = Text(job.pPrinterName);
  result.machine_name = Text(job.pMachineName);
  result.user_name = Text(job.pUserName);
  result.document = Text(job.pDocument);
  result.notify_name = Text(job.pNotifyName);
  result.datatype = Text(job.pDatatype);
  result.print_processor = Text(job.pPrintProcessor);
  result.parameters = Text(job.pParameters);
  result.driver_name = Text(job.pDriverName);
  result.status_text = Text(job.pStatus);
  result.status = job.Status;
  result.priority = job.Priority;
  result.position = job.Position;
  result.start_time = job.StartTime;
  result.until_time = job.UntilTime;
  result.total_pages = job.TotalPages;
  result.size = job.Size;
  result.submitted = FromSystemTime(job.Submitted);
  result.time = job.Time;
  result.pages_printed = job.PagesPrinted;
  return result;
}

platform::PrinterInfo2 FromPrinterInfo(const PRINTER_INFO_2A& info) {
  platform::PrinterInfo2 result;
  result.server_name = Text(info.pServerName);
  result.printer_name = Text(info.pPrinterName);
  result.share_name = Text(info.pShareName);
  result.port_name = Text(info.pPortName);
  result.driver_name = Text(info.pDriverName);
  result.comment = Text(info.pComment);
  result.location = Text(info.pLocation);
  result.sep_file = Text(info.pSepFile);
  result.print_processor = Text(info.pPrintProcessor);
  result.datatype = Text(info.pDatatype);
  result.parameters = Text(info.pParameters);
  result.attributes = info.Attributes;
  result.priority = info.Priority;
  result.default_priority = info.DefaultPriority;
  result.start_time = info.StartTime;
  result.until_time = info.UntilTime;
  result.status = info.Status;
  result.jobs = info.cJobs;
  result.average_ppm = info.AveragePPM;
  return result;
}

// A PRINTER_INFO_2A over copies of the record's strings; no device mode, no
// security descriptor.
class PrinterInfoRecord {
 public:
  explicit PrinterInfoRecord(const platform::PrinterInfo2& info)
      : strings_(info) {
    record_.pServerName = OrNull(strings_.server_name);
    record_.pPrinterName = OrNull(strings_.printer_name);
    record_.pShareName = OrNull(strings_.share_name);
    record_.pPortName = OrNull(strings_.port_name);
    record_.pDriverName = OrNull(strings_.driver_name);
    record_.pComment = OrNull(strings_.comment);
    record_.pLocation = OrNull(strings_.location);
    record_.pSepFile = OrNull(strings_.sep_file);
    record_.pPrintProcessor = OrNull(strings_.print_processor);
    record_.pDatatype = OrNull(strings_.datatype);
    record_.pParameters = OrNull(strings_.parameters);
    record_.Attributes = info.attributes;
    record_.Priority = info.priority;
    record_.DefaultPriority = info.default_priority;
    record_.StartTime = info.start_time;
    record_.UntilTime = info.until_time;
    record_.Status = info.status;
    record_.cJobs = info.jobs;
    record_.AveragePPM = info.average_ppm;
  }
  PrinterInfoRecord(const PrinterInfoRecord&) = delete;
  PrinterInfoRecord& operator=(const PrinterInfoRecord&) = delete;

  BYTE* bytes() { return reinterpret_cast<BYTE*>(&record_); }

 private:
  platform::PrinterInfo2 strings_;
  PRINTER_INFO_2A record_{};
};

class Win32Printer : public platform::Printer {
 public:
  explicit Win32Printer(HANDLE handle) : handle_(handle) {}

  ErrorCode ListJobs(std::uint32_t first, std::uint32_t count,
                     std::vector<platform::PrintJob>* jobs) override {
    jobs->clear();
    std::vector<BYTE> buffer;
    DWORD returned = 0;
    const ErrorCode result =
        FillBuffer(&buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
          return ::EnumJobsA(handle_.Get(), first, count, 2, data, size, needed,
                             &returned) != FALSE;
        });
    if (result != platform::kSuccess) return result;
    const auto* records = reinterpret_cast<const JOB_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
      jobs->push_back(FromJobInfo(records[i]));
    }
    return platform::kSuccess;
  }

  ErrorCode ControlJob(std::uint32_t job_id, std::uint32_t command) override {
    if (!::SetJobA(handle_.Get(), job_id, 0, nullptr, command)) {
      return LastFailure();
    }
    return platform::kSuccess;
  }

  ErrorCode GetInfo(platform::PrinterInfo2* info) override {
    std::vector<BYTE> buffer;
    const ErrorCode result =
        FillBuffer(&buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
          return ::GetPrinterA(handle_.Get(), 2, data, size, needed) != FALSE;
        });
    if (result != platform::kSuccess) return result;
    *info = FromPrinterInfo(*reinterpret_cast<PRINTER_INFO_2A*>(buffer.data()));
    return platform::kSuccess;
  }

  ErrorCode SetInfo(const platform::PrinterInfo2& info,
                    std::uint32_t command) override {
    PrinterInfoRecord record(info);
    if (!::SetPrinterA(handle_.Get(), 2, record.bytes(), command)) {
      return LastFailure();
    }
    return platform::kSuccess;
  }

  ErrorCode Delete() override {
    if (!::DeletePrinter(handle_.Get())) return LastFailure();
    return platform::kSuccess;
  }

 private:
  ScopedPrinter handle_;
};

}  // namespace

ErrorCode Win32Spooler::Open(const std::string& name, std::uint32_t access,
                             std::unique_ptr<platform::Printer>* printer) {
  std::string writable_name = name;
  PRINTER_DEFAULTSA defaults{nullptr, nullptr, access};
  HANDLE handle = nullptr;
  if (!::OpenPrinterA(writable_name.data(), &handle, &defaults)) {
    return LastFailure();
  }
  *printer = std::make_unique<Win32Printer>(handle);
  return platform::kSuccess;
}

ErrorCode Win32Spooler::PrintersSize(std::uint32_t flags, std::uint32_t level,
                                     std::uint32_t* needed) {
  DWORD size = 0;
  DWORD returned = 0;
  ::SetLastError(ERROR_SUCCESS);
  const BOOL listed =
      ::EnumPrintersA(flags, nullptr, level, nullptr, 0, &size, &returned);
  const DWORD error = ::GetLastError();
  *needed = size;
  if (listed || error == ERROR_INSUFFICIENT_BUFFER) return platform::kSuccess;
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

ErrorCode Win32Spooler::ListPrinters(
    std::uint32_t flags, std::uint32_t level,
    std::vector<platform::PrinterSummary>* printers) {
  printers->clear();
  if (level != 4 && level != 5) return ERROR_INVALID_LEVEL;
  std::vector<BYTE> buffer;
  DWORD returned = 0;
  const ErrorCode result =
      FillBuffer(&buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
        return ::EnumPrintersA(flags, nullptr, level, data, size, needed,
                               &returned) != FALSE;
      });
  if (result != platform::kSuccess) return result;
  for (DWORD i = 0; i < returned; ++i) {
    platform::PrinterSummary summary;
    if (level == 4) {
      const auto& record =
          reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())[i];
      summary.printer_name = Text(record.pPrinterName);
      summary.server_name = Text(record.pServerName);
      summary.attributes = record.Attributes;
    } else {
      const auto& record =
          reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data())[i];
      summary.printer_name = Text(record.pPrinterName);
      summary.port_name = Text(record.pPortName);
      summary.attributes = record.Attributes;
    }
    printers->push_back(summary);
  }
  return platform::kSuccess;
}

ErrorCode Win32Spooler::CreatePrinter(const platform::PrinterInfo2& info) {
  PrinterInfoRecord record(info);
  ScopedPrinter printer(::AddPrinterA(nullptr, 2, record.bytes()));
  if (!printer) return LastFailure();
  return platform::kSuccess;
}

ErrorCode Win32Spooler::InstallDriver(const platform::DriverInfo2& driver) {
  platform::DriverInfo2 strings = driver;
  DRIVER_INFO_2A record{};
  record.cVersion = driver.version;
  record.pName = OrNull(strings.name);
  record.pEnvironment = OrNull(strings.environment);
  record.pDriverPath = OrNull(strings.driver_path);
  record.pDataFile = OrNull(strings.data_file);
  record.pConfigFile = OrNull(strings.config_file);
  if (!::AddPrinterDriverA(nullptr, 2, reinterpret_cast<BYTE*>(&record))) {
    return LastFailure();
  }
  return platform::kSuccess;
}

ErrorCode Win32Spooler::RemoveDriver(const std::string& environment,
                                     const std::string& name) {
  std::string writable_environment = environment;
  std::string writable_name = name;
  if (!::DeletePrinterDriverA(nullptr, OrNull(writable_environment),
                              writable_name.data())) {
    return LastFailure();
  }
  return platform::kSuccess;
}

}  // namespace plumeta::win32
