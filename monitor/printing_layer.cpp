#include "monitor/printing_layer.h"

namespace plumeta {

PrintingLayer::PrintingLayer(platform::Spooler& spooler,
                             platform::System& system) {
  const auto version = system.Version();
  const bool nt = version && version->platform == platform::PlatformId::kNt;
  std::vector<platform::PrinterSummary> printers;
  const std::uint32_t flags =
      nt ? platform::kPrinterEnumLocal | platform::kPrinterEnumConnections
         : platform::kPrinterEnumLocal;
  if (spooler.ListPrinters(flags, nt ? 4 : 5, &printers) !=
      platform::kSuccess) {
    return;
  }
  for (const platform::PrinterSummary& printer : printers) {
    if (nt) {
      entries_.push_back(printer.printer_name);
      devices_.push_back({printer.printer_name, "", ""});
    } else {
      entries_.push_back(printer.printer_name + " on " + printer.port_name);
      devices_.push_back({printer.printer_name, "", printer.port_name});
    }
  }
}

PrintingLayer::Device PrintingLayer::Select(int index) const {
  return devices_.at(index);
}

}  // namespace plumeta
