#include "tests/wine/driver/driver.h"

// After <windows.h>, which they need.
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <functional>

#include "tests/wine/support/window_finder.h"

namespace plumeta::wine_driver {
namespace {

constexpr DWORD kKeyGapMs = 60;
// The save dialog's file-name field (a ComboBoxEx32 with an edit inside).
constexpr int kSaveFileNameId = 0x47C;
// The text-input dialog's edit field.
constexpr int kInputFieldId = 101;

BOOL CALLBACK CollectText(HWND window, LPARAM data) {
  if (::IsWindowVisible(window)) {
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(
        Caption(window));
  }
  return TRUE;
}

struct Descendant {
  const char* class_name;
  HWND window;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Descendant*>(data);
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof(name));
  if (::lstrcmpiA(name, found->class_name) != 0) return TRUE;
  found->window = window;
  return FALSE;
}

// The first descendant of that class. (A named CALLBACK function: a lambda
// has the wrong calling convention on 32-bit Windows.)
HWND FindDescendant(HWND parent, const char* class_name) {
  Descendant found{class_name, nullptr};
  ::EnumChildWindows(parent, &MatchDescendant,
                     reinterpret_cast<LPARAM>(&found));
  return found.window;
}

void PostKey(HWND window, WPARAM key) {
  ::PostMessageA(window, WM_KEYDOWN, key, 1);
  ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  ::Sleep(kKeyGapMs);
}

// The labels' texts (Static controls) joined by line ends.
std::string LabelText(HWND dialog) {
  std::string text;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof(name));
    if (::lstrcmpiA(name, "Static") != 0 || !::IsWindowVisible(child)) {
      continue;
    }
    const std::string label = Caption(child);
    if (label.empty()) continue;
    if (!text.empty()) text += "\n";
    text += label;
  }
  return text;
}

}  // namespace

HWND FindShown(const char* class_name, const char* title, DWORD process_id) {
  return wine_test::FindVisibleWindow(class_name, title, process_id);
}

HWND WaitShown(const char* class_name, const char* title, DWORD process_id,
               DWORD timeout_ms) {
  return wine_test::WaitForWindow(
      [&] { return FindShown(class_name, title, process_id); }, timeout_ms);
}

bool WaitHidden(HWND window, DWORD timeout_ms) {
  return wine_test::WaitForWindow(
             [&]() -> HWND {
               return ::IsWindow(window) && ::IsWindowVisible(window)
                          ? nullptr
                          : ::GetDesktopWindow();
             },
             timeout_ms) != nullptr;
}

DWORD FindProcess(const std::string& exe_name) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  DWORD found = 0;
  for (BOOL more = ::Process32First(snapshot, &entry); more && found == 0;
       more = ::Process32Next(snapshot, &entry)) {
    if (::lstrcmpiA(entry.szExeFile, exe_name.c_str()) == 0) {
      found = entry.th32ProcessID;
    }
  }
  ::CloseHandle(snapshot);
  return found;
}

std::string Caption(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::optional<std::string> FieldText(HWND field, DWORD timeout_ms) {
  // Another program's edit field keeps its text to itself: only asking it
  // gives the text. The time-out keeps a busy program from holding us.
  char text[1024] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(field, WM_GETTEXT, sizeof(text),
                             reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             timeout_ms, &copied)) {
    return std::nullopt;
  }
  return std::string(text, std::min<std::size_t>(copied, sizeof(text) - 1));
}

std::vector<std::string> ChildTexts(HWND window) {
  std::vector<std::string> texts;
  ::EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

const std::vector<MenuEntry>& MonitorMenu() {
  static const std::vector<MenuEntry> menu = {
      {"&Open Main Window", {}},
      {"-", {}},
      {"&View Last Result", {}},
      {"&Save Last Result As", {}},
      {"-", {}},
      {"PDF Quality",
       {{"Default", {}},
        {"Screen", {}},
        {"Ebook", {}},
        {"Print", {}},
        {"Prepress", {}}}},
      {"PDF Version",
       {{"1.2  (Adobe Acrobat 3.x)", {}},
        {"1.3  (Adobe Acrobat 4.x)", {}},
        {"1.4  (Adobe Acrobat 5.x)", {}}}},
      {"PDF Security",
       {{"Print document", {}},
        {"Modify contents of document", {}},
        {"Add or modify text annotations", {}},
        {"Copy text and graphics from document", {}},
        {"Fill in interacive form fields", {}},
        {"Extract text and graphics", {}},
        {"Assemble the document", {}},
        {"High quality print", {}}}},
      {"PDF Password", {{"User Password", {}}, {"Owner Password", {}}}},
      {"PDF Resolution",
       {{"72", {}},
        {"144", {}},
        {"300", {}},
        {"600", {}},
        {"1200", {}},
        {"2400", {}},
        {"3600", {}},
        {"4000", {}}}},
      {"-", {}},
      {"&Printing Preferences", {}},
      {"Show PDF when done", {}},
      {"Save Automatically...", {}},
      {"Combine Jobs", {}},
      {"Save Combined PDF...", {}},
      {"-", {}},
      {"Set As Default Printer", {}},
      {"&Help", {}},
      {"&Hide", {}},
      {"E&xit", {}},
  };
  return menu;
}

HWND OpenTrayMenu(DWORD process_id, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  HWND tray = wine_test::WaitForWindow(
      [] { return ::FindWindowA(nullptr, "Wine System Tray"); }, timeout_ms);
  if (tray == nullptr) return nullptr;
  // Each icon is a child window of the tray; a right click on one reaches
  // the program that put it there. Try them until a menu of ours opens.
  std::vector<HWND> icons;
  for (HWND icon = ::GetWindow(tray, GW_CHILD); icon != nullptr;
       icon = ::GetWindow(icon, GW_HWNDNEXT)) {
    if (::IsWindowVisible(icon)) icons.push_back(icon);
  }
  for (HWND icon : icons) {
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= timeout_ms) break;
    ::PostMessageA(icon, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 8));
    ::PostMessageA(icon, WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
    const DWORD wait = icons.size() == 1
                           ? timeout_ms - spent
                           : std::min<DWORD>(1500, timeout_ms - spent);
    if (HWND menu = WaitShown("#32768", nullptr, process_id, wait)) {
      return menu;
    }
  }
  return nullptr;
}

HWND OpenButtonMenu(HWND main_window, DWORD timeout_ms) {
  HWND button = ::FindWindowExA(main_window, nullptr, "Button", "Menu");
  if (button == nullptr) return nullptr;
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(main_window, &process_id);
  ::PostMessageA(button, BM_CLICK, 0, 0);
  return WaitShown("#32768", nullptr, process_id, timeout_ms);
}

bool PickMenuItem(HWND menu, const std::vector<MenuEntry>& layout,
                  const std::vector<std::string>& path,
                  const std::set<std::string>& hidden, bool choose) {
  if (path.empty() || !::IsWindow(menu)) return false;
  const std::vector<MenuEntry>* level = &layout;
  for (std::size_t depth = 0; depth < path.size(); ++depth) {
    // Position among the items the keyboard stops at: shown, no separator.
    int position = -1;
    const MenuEntry* entry = nullptr;
    for (const MenuEntry& item : *level) {
      if (item.caption == "-" || hidden.count(item.caption) != 0) continue;
      ++position;
      if (item.caption == path[depth]) {
        entry = &item;
        break;
      }
    }
    if (entry == nullptr) return false;
    // A fresh menu has nothing selected: the first Down selects the first
    // item. An opened submenu has its first item selected already.
    const int downs = depth == 0 ? position + 1 : position;
    for (int i = 0; i < downs; ++i) PostKey(menu, VK_DOWN);
    if (depth + 1 < path.size()) {
      if (entry->items.empty()) return false;
      PostKey(menu, VK_RIGHT);
      level = &entry->items;
    }
  }
  if (choose) PostKey(menu, VK_RETURN);
  // Let the program act on the keys before the caller looks again.
  ::Sleep(150);
  return true;
}

void CloseMenu(HWND menu) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(menu, &process_id);
  for (int i = 0; i < 4 && ::IsWindow(menu) && ::IsWindowVisible(menu); ++i) {
    PostKey(menu, VK_ESCAPE);
    WaitHidden(menu, 500);
  }
}

std::optional<Dialog> WaitDialog(DWORD process_id, const char* caption,
                                 DWORD timeout_ms) {
  HWND window = WaitShown("#32770", caption, process_id, timeout_ms);
  if (window == nullptr) return std::nullopt;
  return Dialog{window, Caption(window), LabelText(window)};
}

bool Press(HWND dialog, int button_id) {
  HWND button = ::GetDlgItem(dialog, button_id);
  if (button == nullptr) return false;
  return ::PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool TypeInto(HWND field, const std::string& text) {
  if (field == nullptr) return false;
  // Select everything, then type over it; a backspace alone clears it.
  ::PostMessageA(field, EM_SETSEL, 0, -1);
  if (text.empty()) return ::PostMessageA(field, WM_CHAR, VK_BACK, 1) != FALSE;
  for (char c : text) {
    if (!::PostMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1)) {
      return false;
    }
  }
  return true;
}

std::optional<Dialog> AnswerInput(DWORD process_id, const char* caption,
                                  const std::string& text, bool accept,
                                  DWORD timeout_ms, std::string* initial) {
  std::optional<Dialog> dialog = WaitDialog(process_id, caption, timeout_ms);
  if (!dialog) return std::nullopt;
  HWND field = ::GetDlgItem(dialog->window, kInputFieldId);
  if (initial != nullptr) *initial = FieldText(field).value_or("");
  if (accept && !TypeInto(field, text)) return std::nullopt;
  if (!Press(dialog->window, accept ? IDOK : IDCANCEL)) return std::nullopt;
  if (!WaitHidden(dialog->window, timeout_ms)) return std::nullopt;
  return dialog;
}

std::optional<std::string> AnswerSave(DWORD process_id, const std::string& path,
                                      DWORD timeout_ms) {
  HWND dialog = wine_test::WaitForWindow(
      [&]() -> HWND {
        HWND window = FindShown("#32770", nullptr, process_id);
        return window != nullptr &&
                       ::GetDlgItem(window, kSaveFileNameId) != nullptr
                   ? window
                   : nullptr;
      },
      timeout_ms);
  if (dialog == nullptr) return std::nullopt;
  HWND field = FindDescendant(::GetDlgItem(dialog, kSaveFileNameId), "Edit");
  if (field == nullptr) return std::nullopt;
  // The dialog fills the field once it is shown: wait for that.
  ::Sleep(200);
  const std::string proposed = FieldText(field).value_or("");
  if (path.empty()) {
    Press(dialog, IDCANCEL);
  } else {
    TypeInto(field, path);
    Press(dialog, IDOK);
  }
  WaitHidden(dialog, timeout_ms);
  return proposed;
}

}  // namespace plumeta::wine_driver
