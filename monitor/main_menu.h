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
  // A check item ticks or clears itself when clicked, before its code runs;
  // `checked`: ticked when the menu is built.
  bool check_item = false;
  bool checked = false;
};

// A submenu. With a setting, its rows are radio items that choose that
// setting's value: a click ticks the item and gives the setting the row's
// value; `checked` names the item ticked before the settings are loaded.
struct MenuSubmenu {
  std::span<const MenuRow> rows;
  std::string ConversionSettings::*setting = nullptr;
  int radio_group = 0;
  const char* checked = nullptr;
};

// The top-level rows, top to bottom.
std::span<const MenuRow> MainMenuRows();

// Whether a radio item of the menu gives `setting` this value.
bool MenuOffers(std::string ConversionSettings::*setting,
                const std::string& value);

}  // namespace plumeta

#endif  // MONITOR_MAIN_MENU_H_
