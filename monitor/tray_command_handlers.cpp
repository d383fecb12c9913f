// "Show PDF when done": only a tick the conversion flow reads. The tray
// menu's other commands are TrayCommands' own, named in main_menu.cpp.
#include "monitor/main_form.h"

namespace plumeta {

bool TMain::ShowPdfWhenDone() {
  widgets::TMenuItem* item = popup_menu1_.FindItem("ShowPDFwhendone1");
  return item != nullptr && item->Checked();
}

}  // namespace plumeta
