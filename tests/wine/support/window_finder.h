// Finding the windows a test drives: dialogs, message boxes and menus of
// this or another process, as a user would find them on the screen.
#ifndef TESTS_WINE_SUPPORT_WINDOW_FINDER_H_
#define TESTS_WINE_SUPPORT_WINDOW_FINDER_H_

#include <chrono>
#include <functional>
#include <string>

#include "platform/win32/windows_api.h"
#include "tests/support/wait_until.h"

namespace plumeta::wine_test {

struct WindowSearch {
  const char* class_name;
  const char* title;
  DWORD process_id;
  HWND found;
  bool visible_only = true;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  char name[256] = {};
  char text[256] = {};
  ::GetClassNameA(window, name, sizeof(name));
  ::GetWindowTextA(window, text, sizeof(text));
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (std::string(name) == search->class_name &&
      (search->process_id == 0 || owner == search->process_id) &&
      (search->title == nullptr || std::string(text) == search->title) &&
      (!search->visible_only || ::IsWindowVisible(window))) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The first visible top-level window of that class (and title, unless
// null, and process, unless 0); null when there is none.
inline HWND FindVisibleWindow(const char* class_name, const char* title,
                              DWORD process_id = 0) {
  WindowSearch search{class_name, title, process_id, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The same, shown or hidden.
inline HWND FindAnyWindow(const char* class_name, const char* title,
                          DWORD process_id = 0) {
  WindowSearch search{class_name, title, process_id, nullptr, false};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Pumps this thread's messages until `done` holds or `timeout_ms` passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(10);
  }
  return true;
}

// Waits (without pumping: another thread or process owns the window) until
// `find` gives a window, or `timeout_ms` passed.
inline HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeout_ms) {
  HWND window = nullptr;
  testing::WaitUntil([&] { return (window = find()) != nullptr; },
                     std::chrono::milliseconds(timeout_ms));
  return window;
}

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_WINDOW_FINDER_H_
