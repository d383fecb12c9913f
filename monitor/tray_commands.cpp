#include "monitor/tray_commands.h"

#include <memory>

#include "common/errors.h"
#include "common/os_edition.h"
#include "common/system_names.h"
#include "common/windows_paths.h"
#include "monitor/printing_layer.h"

namespace plumeta {
namespace {

[[noreturn]] void RaiseOsError(platform::System& system,
                               platform::ErrorCode code) {
  throw OsError(code, code == 0 ? "" : system.ErrorMessage(code));
}

}  // namespace

TrayCommands::TrayCommands(platform::Platform& platform,
                           TSaveDialog& save_dialog, FlowSettings& settings,
                           ConversionFlow& flow)
    : platform_(platform),
      save_dialog_(save_dialog),
      settings_(settings),
      flow_(flow) {}

void TrayCommands::Open(const std::string& file, const std::string& parameters,
                        int show_mode) {
  platform_.shell->Execute(
      {/*owned_by_main_window=*/true, "open", file, parameters, "", show_mode});
}

void TrayCommands::ViewLastResult() {
  Open(settings_.LastResult(), "", platform::kShow);
}

void TrayCommands::SaveLastResultAs() {
  const std::string last_result = settings_.LastResult();
  if (!platform_.files->Exists(last_result)) return;
  if (!save_dialog_.Execute()) return;
  flow_.Finish(last_result, {.target = save_dialog_.file_name()},
               /*job=*/nullptr);
}

void TrayCommands::OpenPrintingPreferences() {
  Open("rundll32.exe",
       std::string("PrintUI.dll, PrintUIEntry /e /n \"") + kPrinterName + "\"",
       platform::kShow);
}

void TrayCommands::SetAsDefaultPrinter() {
  const std::string os_name =
      OsName(OsEdition(*platform_.system, *platform_.registry));
  settings_.SetOsName(os_name);
  const auto version = platform_.system->Version();
  const bool nt = version && version->platform == platform::PlatformId::kNt;
  if (nt && !IsOldNtName(os_name)) {
    Open("rundll32.exe",
         std::string("printui.dll,PrintUIEntry /y /n \"") + kPrinterName + "\"",
         platform::kShowHide);
    return;
  }
  MarkDefaultPrinter(kPrinterName);
  WriteDefaultPrinterProfile(kPrinterName);
}

void TrayCommands::MarkDefaultPrinter(const std::string& name) {
  const PrintingLayer layer(*platform_.spooler, *platform_.system);
  int found = -1;
  for (int i = 0; i < static_cast<int>(layer.Printers().size()); ++i) {
    if (layer.Printers()[i] == name) found = i;
  }
  if (found < 0) return;
  const std::string device = layer.Select(found).device;
  platform::System& system = *platform_.system;
  std::unique_ptr<platform::Printer> printer;
  // Changing the attributes needs administrative access to the printer.
  platform::ErrorCode code =
      platform_.spooler->Open(device, platform::kPrinterAllAccess, &printer);
  if (code != platform::kSuccess) RaiseOsError(system, code);
  platform::PrinterInfo2 info;
  code = printer->GetInfo(&info);
  if (code != platform::kSuccess) RaiseOsError(system, code);
  info.attributes |= platform::kPrinterAttributeDefault;
  code = printer->SetInfo(info, /*command=*/0);
  if (code != platform::kSuccess) RaiseOsError(system, code);
}

void TrayCommands::WriteDefaultPrinterProfile(const std::string& name) {
  const PrintingLayer layer(*platform_.spooler, *platform_.system);
  for (int i = 0; i < static_cast<int>(layer.Printers().size()); ++i) {
    if (layer.Printers()[i] != name) continue;
    const PrintingLayer::Device device = layer.Select(i);
    platform_.profile->WriteString(
        "windows", "device",
        device.device + "," + device.driver + "," + device.port);
    platform_.profile->BroadcastChange("windows");
  }
}

void TrayCommands::OpenHelp() {
  Open(FolderOf(platform_.system->ProgramPath()) + "manual.chm", "",
       platform::kShow);
}

void TrayCommands::MailSupport() {
  Open(kSupportMailLink, "", platform::kShow);
}

}  // namespace plumeta
