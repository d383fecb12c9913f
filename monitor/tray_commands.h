// The tray menu's commands on LastResult, the printer and the help: "View
// Last Result", "Save Last Result As", "Printing Preferences", "Set As
// Default Printer", "Help", and the support picture's mail link.
#ifndef MONITOR_TRAY_COMMANDS_H_
#define MONITOR_TRAY_COMMANDS_H_

#include <string>

#include "monitor/conversion_flow.h"
#include "monitor/monitor_view.h"
#include "monitor/save_dialog.h"
#include "platform/platform.h"

namespace plumeta {

inline constexpr char kSupportMailLink[] = "mailto:support@plumeta.example";

class TrayCommands {
 public:
  // "Save Last Result As" delivers through the flows' finishing step.
  TrayCommands(platform::Platform& platform, TSaveDialog& save_dialog,
               FlowSettings& settings, ConversionFlow& flow);

  void ViewLastResult();
  // Asks where, then copies LastResult there, which stays, and opens the
  // copy when "Show PDF when done" is ticked.
  void SaveLastResultAs();
  void OpenPrintingPreferences();
  void SetAsDefaultPrinter();
  void OpenHelp();
  void MailSupport();

  // Sets the default-printer attribute of the printer whose entry in the
  // printing layer's list is the name (the last such entry); nothing when
  // none is. A failing spooler call raises OsError.
  void MarkDefaultPrinter(const std::string& name);
  // Writes each entry equal to the name as "device,driver,port" into the
  // profile's [windows] device= and announces the change.
  void WriteDefaultPrinterProfile(const std::string& name);

 private:
  void Open(const std::string& file, const std::string& parameters,
            int show_mode);

  platform::Platform& platform_;
  TSaveDialog& save_dialog_;
  FlowSettings& settings_;
  ConversionFlow& flow_;
};

}  // namespace plumeta

#endif  // MONITOR_TRAY_COMMANDS_H_
