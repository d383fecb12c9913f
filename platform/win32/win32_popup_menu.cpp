// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_popup_menu.h"

#include <cstddef>

namespace plumeta::win32 {
namespace {

// MENUITEMINFOA as Windows 95 and NT 4.0 know it, without hbmpItem.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

void AppendItems(HMENU menu, const std::vector<platform::MenuItemView>& items,
                 std::vector<std::string>* names) {
  UINT position = 0;
  for (const auto& item : items) {
    if (!item.visible) continue;
    MENUITEMINFOA info = {};
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
    if (item.caption == "-") {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fType = MFT_STRING | (item.radio ? MFT_RADIOCHECK : 0);
      info.dwTypeData = const_cast<char*>(item.caption.c_str());
      info.cch = static_cast<UINT>(item.caption.size());
    }
    info.fState = (item.checked ? MFS_CHECKED : 0) |
                  (item.is_default ? MFS_DEFAULT : 0) |
                  (item.enabled ? 0 : MFS_GRAYED);
    names->push_back(item.name);
    info.wID = static_cast<UINT>(names->size());
    if (!item.items.empty()) {
      HMENU submenu = ::CreatePopupMenu();
      AppendItems(submenu, item.items, names);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;  // destroyed with its parent
    }
    ::InsertMenuItemA(menu, position++, TRUE, &info);
  }
}

}  // namespace

ScopedMenu BuildPopupMenu(const std::vector<platform::MenuItemView>& items,
                          std::vector<std::string>* names) {
  ScopedMenu menu(::CreatePopupMenu());
  if (menu) AppendItems(menu.Get(), items, names);
  return menu;
}

std::string TrackPopupMenuFor(HWND owner,
                              const std::vector<platform::MenuItemView>& items,
                              platform::Point at) {
  std::vector<std::string> names;
  ScopedMenu menu = BuildPopupMenu(items, &names);
  if (!menu) return "";
  ::SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y,
      0, owner, nullptr));
  ::PostMessageA(owner, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > names.size()) return "";
  return names[chosen - 1];
}

}  // namespace plumeta::win32
