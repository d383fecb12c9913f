#include "tests/wine/support/plumeta_printer.h"

#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta::wine_test {

void DeletePlumetaPrinters() {
  PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  char name[] = "Plumeta";
  HANDLE printer = nullptr;
  while (::OpenPrinterA(name, &printer, &defaults)) {
    const bool deleted = ::DeletePrinter(printer);
    ::ClosePrinter(printer);
    if (!deleted) break;
  }
}

void AddX64PlumetaDriver() {
  DRIVER_INFO_2A driver{};
  char name[] = "Plumeta", environment[] = "Windows x64",
       path[] = "pscript5.dll", data[] = "plumeta.ppd", config[] = "ps5ui.dll";
  driver.cVersion = 3;
  driver.pName = name;
  driver.pEnvironment = environment;
  driver.pDriverPath = path;
  driver.pDataFile = data;
  driver.pConfigFile = config;
  ::AddPrinterDriverA(nullptr, 2, reinterpret_cast<BYTE*>(&driver));
}

}  // namespace plumeta::wine_test
