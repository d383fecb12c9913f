// TMain's handlers for the tray menu's commands and the support picture:
// each passes to TrayCommands. "Show PDF when done" is only a tick the
// conversion flow reads.
#include "monitor/main_form.h"

namespace plumeta {

void TMain::Viewlastresult1Click(widgets::TMenuItem&) {
  tray_commands_->ViewLastResult();
}

void TMain::SaveLastResult1Click(widgets::TMenuItem&) {
  tray_commands_->SaveLastResultAs();
}

void TMain::Configuration1Click(widgets::TMenuItem&) {
  tray_commands_->OpenPrintingPreferences();
}

void TMain::Options1Click(widgets::TMenuItem&) {
  tray_commands_->SetAsDefaultPrinter();
}

void TMain::Help1Click(widgets::TMenuItem&) { tray_commands_->OpenHelp(); }

void TMain::Image2Click() { tray_commands_->MailSupport(); }

void TMain::ShowPDFwhendone1Click(widgets::TMenuItem& sender) {
  sender.SetChecked(!sender.Checked());
}

bool TMain::ShowPdfWhenDone() {
  widgets::TMenuItem* item = popup_menu1_.FindItem("ShowPDFwhendone1");
  return item != nullptr && item->Checked();
}

}  // namespace plumeta
