// platform/win32: Win32 calls only, in their ANSI ("A") forms. The spooler
// through winspool.
#ifndef PLATFORM_WIN32_SPOOLER_H_
#define PLATFORM_WIN32_SPOOLER_H_

#include "platform/spooler.h"

namespace plumeta::win32 {

class Win32Spooler : public platform::Spooler {
 public:
  platform::ErrorCode Open(
      const std::string& name, std::uint32_t access,
      std::unique_ptr<platform::Printer>* printer) override;
  platform::ErrorCode ListPrinters(
      std::uint32_t flags, std::uint32_t level,
      std::vector<platform::PrinterSummary>* printers) override;
  platform::ErrorCode PrintersSize(std::uint32_t flags, std::uint32_t level,
                                   std::uint32_t* needed) override;
  platform::ErrorCode CreatePrinter(
      const platform::PrinterInfo2& info) override;
  platform::ErrorCode InstallDriver(
      const platform::DriverInfo2& driver) override;
  platform::ErrorCode RemoveDriver(const std::string& environment,
                                   const std::string& name) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_SPOOLER_H_
