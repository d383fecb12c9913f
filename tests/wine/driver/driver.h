// The wine suite's driver: finds the windows of another program and works
// them as a person would. It only posts messages to that program (a posted
// message never waits on it), reads what the windows show, and gives every
// wait a time-out. Used in-process by the scenarios and by plumdrive.exe.
#ifndef TESTS_WINE_DRIVER_DRIVER_H_
#define TESTS_WINE_DRIVER_DRIVER_H_

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace plumeta::wine_driver {

// --- Windows --------------------------------------------------------------

// The first visible top-level window of that class whose title is `title`
// (any title when null), of process `process_id` (any when 0); null if none.
HWND FindShown(const char* class_name, const char* title, DWORD process_id);
// The same, waiting up to `timeout_ms` for it to appear.
HWND WaitShown(const char* class_name, const char* title, DWORD process_id,
               DWORD timeout_ms);
// Waits up to `timeout_ms` until `window` is gone or hidden.
bool WaitHidden(HWND window, DWORD timeout_ms);
// The id of the first running process whose program file is named
// `exe_name` (compared without regard to case), 0 when none.
DWORD FindProcess(const std::string& exe_name);

// A window's own text as the system keeps it (captions, labels, buttons).
std::string Caption(HWND window);
// The text an edit field holds, asked of its program with a time-out.
std::optional<std::string> FieldText(HWND field, DWORD timeout_ms = 2000);
// The visible child windows' texts, in the order the system lists them.
std::vector<std::string> ChildTexts(HWND window);

// --- Menus ----------------------------------------------------------------

// A menu as the program shows it: captions top to bottom, "-" for a
// separator, each with its submenu.
struct MenuEntry {
  std::string caption;
  std::vector<MenuEntry> items;
};
// The tray monitor's popup menu, from its table (monitor/main_menu.h).
const std::vector<MenuEntry>& MonitorMenu();

// Opens the program's menu through its icon in Wine's tray window (a right
// click on the icon, which Wine passes to the program); the menu window, or
// null when none opened in time.
HWND OpenTrayMenu(DWORD process_id, DWORD timeout_ms);
// Opens the menu with the "Menu" button of the program's main window.
HWND OpenButtonMenu(HWND main_window, DWORD timeout_ms);

// Chooses the item at `path` (captions from the top level down) in the open
// `menu` with the keyboard. `hidden` names the items the program leaves out
// of `layout`. With `choose` false, the path's submenus are opened and its
// last item selected, and the menu stays open. False when the path is not
// in the layout or the menu went away.
bool PickMenuItem(HWND menu, const std::vector<MenuEntry>& layout,
                  const std::vector<std::string>& path,
                  const std::set<std::string>& hidden = {}, bool choose = true);
// Closes an open menu without choosing.
void CloseMenu(HWND menu);

// --- Dialogs --------------------------------------------------------------

// A dialog box as it is shown: the window, its caption and the texts of its
// labels (the message of a message box, the prompt of an input dialog).
struct Dialog {
  HWND window = nullptr;
  std::string caption;
  std::string text;
};
// Waits for a dialog box (class #32770) of the process with that caption.
std::optional<Dialog> WaitDialog(DWORD process_id, const char* caption,
                                 DWORD timeout_ms);
// Presses a button of a dialog by its id (IDOK, IDYES, IDNO, IDCANCEL).
bool Press(HWND dialog, int button_id);
// Types `text` into an edit field in place of what it holds.
bool TypeInto(HWND field, const std::string& text);

// The text-input dialog: types `text` and presses OK (`accept` true) or
// Cancel. Gives what the dialog showed, its initial text in `initial`.
std::optional<Dialog> AnswerInput(DWORD process_id, const char* caption,
                                  const std::string& text, bool accept,
                                  DWORD timeout_ms,
                                  std::string* initial = nullptr);

// The save dialog: reads the file name it proposes, types `path` and
// presses Save; or presses Cancel when `path` is empty. The proposed name,
// or nullopt when no save dialog came.
std::optional<std::string> AnswerSave(DWORD process_id, const std::string& path,
                                      DWORD timeout_ms);

}  // namespace plumeta::wine_driver

#endif  // TESTS_WINE_DRIVER_DRIVER_H_
