// PopupMenu1, the tray menu, as one table. Each row holds an item's name, its
// caption and what choosing it does: the value a radio item gives its
// setting, or the code a command runs. TMain builds the menu from it, the
// settings' handlers find their items in it, and the tests read it.
#ifndef MONITOR_MAIN_MENU_H_
#define MONITOR_MAIN_MENU_H_

#include <span>
#include <string>

#include "monitor/conversion_settings.h"

namespace plumeta {

class TMain;
class TrayCommands;
struct MenuSubmenu;

struct MenuRow {
  const char* name;
  const char* caption;  // "-": a separator
  // A radio item: the value it gives its submenu's setting.
  const char* value = nullptr;
  // The code a click runs: the main window's, or a tray command.
  void (TMain::*click)() = nullptr;
  void (TrayCommands::*command)() = nullptr;
  const MenuSubmenu* submenu = nullptr;
  // A check item, ticked at every start and never stored, that ticks itself.
  bool checked = false;
};

// A submenu: plain items, radio items that choose a setting (the item
// holding the setting's default checked at first), or check items, all
// checked at first, that tick themselves when clicked.
struct MenuSubmenu {
  std::span<const MenuRow> rows;
  std::string ConversionSettings::*setting = nullptr;  // radio items
  int radio_group = 0;
  const char* checked = nullptr;
  bool check_items = false;
};

// The top-level rows, top to bottom.
std::span<const MenuRow> MainMenuRows();

}  // namespace plumeta

#endif  // MONITOR_MAIN_MENU_H_
