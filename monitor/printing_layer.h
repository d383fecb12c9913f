// The printing layer's printer list as the default-printer commands use it:
// listed once, one entry per printer (its name) on the NT family, one per
// printer and port ("%s on %s") on 9x; a selected entry gives the device,
// driver and port names.
#ifndef MONITOR_PRINTING_LAYER_H_
#define MONITOR_PRINTING_LAYER_H_

#include <string>
#include <vector>

#include "platform/spooler.h"
#include "platform/system.h"

namespace plumeta {

class PrintingLayer {
 public:
  struct Device {
    std::string device;
    std::string driver;  // always empty
    std::string port;    // empty on the NT family
  };

  PrintingLayer(platform::Spooler& spooler, platform::System& system);

  const std::vector<std::string>& Printers() const { return entries_; }
  Device Select(int index) const;

 private:
  std::vector<std::string> entries_;
  std::vector<Device> devices_;
};

}  // namespace plumeta

#endif  // MONITOR_PRINTING_LAYER_H_
