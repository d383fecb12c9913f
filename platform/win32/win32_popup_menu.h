// platform/win32: Win32 calls only, in their ANSI ("A") forms. A popup menu
// built from the menu model and tracked with TrackPopupMenu.
#ifndef PLATFORM_WIN32_WIN32_POPUP_MENU_H_
#define PLATFORM_WIN32_WIN32_POPUP_MENU_H_

#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/menu_model.h"
#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {

// The menu for `items`: separators, checks (radio marks for radio items),
// the default item in bold, disabled items greyed, hidden items left out.
// Each item's command id is 1 + its index in `names`, which gets the names.
ScopedMenu BuildPopupMenu(const std::vector<platform::MenuItemView>& items,
                          std::vector<std::string>* names);

// Shows the menu at `at` for `owner` and returns the chosen item's name, or
// empty. The owner is brought to the foreground first and gets a WM_NULL
// after, so the menu closes when the user clicks elsewhere.
std::string TrackPopupMenuFor(HWND owner,
                              const std::vector<platform::MenuItemView>& items,
                              platform::Point at);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WIN32_POPUP_MENU_H_
