// The printer "Plumeta" as the wine tests set it up and take it away through
// the system's spooler.
#ifndef TESTS_WINE_SUPPORT_PLUMETA_PRINTER_H_
#define TESTS_WINE_SUPPORT_PLUMETA_PRINTER_H_

namespace plumeta::wine_test {

// Deletes every printer named "Plumeta".
void DeletePlumetaPrinters();

// Registers the 64-bit "Plumeta" driver, which a 32-bit setup on 64-bit
// Windows registers itself: the suite runs the 64-bit build, and Wine's
// AddPrinter wants the caller's own environment.
void AddX64PlumetaDriver();

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_PLUMETA_PRINTER_H_
