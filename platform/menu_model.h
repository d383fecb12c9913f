// A popup menu as data: what the platform shows, and the name of the item the
// user chose. The program keeps the click handlers; the platform only renders.
#ifndef PLATFORM_MENU_MODEL_H_
#define PLATFORM_MENU_MODEL_H_

#include <string>
#include <vector>

namespace plumeta::platform {

struct MenuItemView {
  std::string name;     // the component name: "Default1", "N121", "Exit2"
  std::string caption;  // "-" is a separator; "&" marks the access key
  bool checked = false;
  bool radio = false;  // drawn with a radio mark when checked
  bool visible = true;
  bool enabled = true;
  bool is_default = false;  // drawn bold; chosen by a double click on the icon
  std::vector<MenuItemView> items;  // a submenu when not empty
};

}  // namespace plumeta::platform

#endif  // PLATFORM_MENU_MODEL_H_
