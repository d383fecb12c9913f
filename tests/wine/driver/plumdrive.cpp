// plumdrive: the wine suite's driver from the command line, for scripts.
//
//   plumdrive pid EXE                          id of the running EXE
//   plumdrive wait PID CLASS TITLE [MS]        waits for a shown window
//   plumdrive menu tray|button PID [--open] [--hide CAPTION]... CAPTION...
//   plumdrive close-menu PID
//   plumdrive message PID CAPTION yes|no|ok|cancel|none
//   plumdrive input PID CAPTION TEXT|--cancel
//   plumdrive save PID PATH|--cancel
//   plumdrive rect PID CLASS|menus [TITLE]    a window's (or the open menus')
//                                             place, "WxH+X+Y" with a margin
//
// `message` prints the box's text, `input` the prompt, `save` the proposed
// file name. Exit code 0 when done, 1 when the window did not come, 2 for
// a wrong command line.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/driver/driver.h"

namespace {

using namespace plumeta::wine_driver;

constexpr DWORD kTimeoutMs = 10000;

int Usage() {
  std::fputs(
      "usage: plumdrive pid|wait|menu|close-menu|message|input|save|rect ...\n",
      stderr);
  return 2;
}

DWORD Pid(const char* text) { return std::strtoul(text, nullptr, 10); }

int Menu(const std::vector<std::string>& args) {
  if (args.size() < 3) return Usage();
  const DWORD pid = Pid(args[1].c_str());
  bool choose = true;
  std::set<std::string> hidden;
  std::vector<std::string> path;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--open") {
      choose = false;
    } else if (args[i] == "--hide" && i + 1 < args.size()) {
      hidden.insert(args[++i]);
    } else {
      path.push_back(args[i]);
    }
  }
  HWND menu = nullptr;
  if (args[0] == "tray") {
    menu = OpenTrayMenu(pid, kTimeoutMs);
  } else {
    HWND main_window = WaitShown("TMain", nullptr, pid, kTimeoutMs);
    if (main_window != nullptr) menu = OpenButtonMenu(main_window, kTimeoutMs);
  }
  if (menu == nullptr) {
    std::fputs("plumdrive: no menu opened\n", stderr);
    return 1;
  }
  if (path.empty()) return 0;
  return PickMenuItem(menu, MonitorMenu(), path, hidden, choose) ? 0 : 1;
}

int Message(const std::vector<std::string>& args) {
  if (args.size() != 3) return Usage();
  const auto dialog =
      WaitDialog(Pid(args[0].c_str()), args[1].c_str(), kTimeoutMs);
  if (!dialog) return 1;
  std::puts(dialog->text.c_str());
  const std::string& answer = args[2];
  const int button = answer == "yes"      ? IDYES
                     : answer == "no"     ? IDNO
                     : answer == "ok"     ? IDOK
                     : answer == "cancel" ? IDCANCEL
                                          : 0;
  if (button == 0) return 0;
  return Press(dialog->window, button) && WaitHidden(dialog->window, kTimeoutMs)
             ? 0
             : 1;
}

// The bounds of every shown window of that class of the process.
struct Bounds {
  const char* class_name;
  const char* title;
  DWORD process_id;
  RECT rect;
  bool any;
};

BOOL CALLBACK AddBounds(HWND window, LPARAM data) {
  auto* bounds = reinterpret_cast<Bounds*>(data);
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof(name));
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != bounds->process_id || std::string(name) != bounds->class_name ||
      !::IsWindowVisible(window) ||
      (bounds->title != nullptr && Caption(window) != bounds->title)) {
    return TRUE;
  }
  RECT rect;
  ::GetWindowRect(window, &rect);
  if (!bounds->any) {
    bounds->rect = rect;
  } else {
    ::UnionRect(&bounds->rect, &bounds->rect, &rect);
  }
  bounds->any = true;
  return TRUE;
}

int Rect(const std::vector<std::string>& args) {
  if (args.size() != 2 && args.size() != 3) return Usage();
  const DWORD pid = Pid(args[0].c_str());
  const bool menus = args[1] == "menus";
  const char* class_name = menus ? "#32768" : args[1].c_str();
  const char* title = args.size() == 3 ? args[2].c_str() : nullptr;
  if (WaitShown(class_name, title, pid, kTimeoutMs) == nullptr) return 1;
  ::Sleep(300);  // until it is drawn
  Bounds bounds{class_name, title, pid, {}, false};
  ::EnumWindows(&AddBounds, reinterpret_cast<LPARAM>(&bounds));
  if (!bounds.any) return 1;
  constexpr int kMargin = 8;
  const int left = std::max<int>(0, bounds.rect.left - kMargin);
  const int top = std::max<int>(0, bounds.rect.top - kMargin);
  const int right = std::min<int>(::GetSystemMetrics(SM_CXSCREEN),
                                  bounds.rect.right + kMargin);
  const int bottom = std::min<int>(::GetSystemMetrics(SM_CYSCREEN),
                                   bounds.rect.bottom + kMargin);
  std::printf("%dx%d+%d+%d\n", right - left, bottom - top, left, top);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "pid" && rest.size() == 1) {
    const DWORD pid = FindProcess(rest[0]);
    if (pid == 0) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(pid));
    return 0;
  }
  if (command == "wait" && (rest.size() == 3 || rest.size() == 4)) {
    const DWORD timeout = rest.size() == 4 ? Pid(rest[3].c_str()) : kTimeoutMs;
    return WaitShown(rest[1].c_str(), rest[2].c_str(), Pid(rest[0].c_str()),
                     timeout) != nullptr
               ? 0
               : 1;
  }
  if (command == "menu") return Menu(rest);
  if (command == "close-menu" && rest.size() == 1) {
    // Escape closes the innermost open menu only: close them all, or the
    // next command would find the old menu still open.
    for (int i = 0; i < 5; ++i) {
      HWND menu = FindShown("#32768", nullptr, Pid(rest[0].c_str()));
      if (menu == nullptr) break;
      CloseMenu(menu);
    }
    return 0;
  }
  if (command == "message") return Message(rest);
  if (command == "rect") return Rect(rest);
  if (command == "input" && rest.size() == 3) {
    const bool accept = rest[2] != "--cancel";
    const auto dialog = AnswerInput(Pid(rest[0].c_str()), rest[1].c_str(),
                                    accept ? rest[2] : "", accept, kTimeoutMs);
    if (!dialog) return 1;
    std::puts(dialog->text.c_str());
    return 0;
  }
  if (command == "save" && rest.size() == 2) {
    const auto proposed = AnswerSave(
        Pid(rest[0].c_str()), rest[1] == "--cancel" ? "" : rest[1], kTimeoutMs);
    if (!proposed) return 1;
    std::puts(proposed->c_str());
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
