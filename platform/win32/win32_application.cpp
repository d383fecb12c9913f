// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_application.h"

#include <vector>

namespace plumeta::win32 {
namespace {

// The program file's name without folder and extension: the application's
// title until the program sets its own.
std::string ProgramName() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of("\\/") + 1);
  return name.substr(0, name.rfind('.'));
}

}  // namespace

Win32Application::Win32Application()
    : posted_call_message_(::RegisterWindowMessageA("PlumetaPostedCall")) {}

Win32Application::~Win32Application() {
  if (window_.handle() != nullptr) {
    for (const auto& [id, tick] : timers_) ::KillTimer(window_.handle(), id);
    window_.Destroy();
    ::UnregisterClassA(class_name_.c_str(), ::GetModuleHandleA(nullptr));
  }
}

void Win32Application::SetTitle(const std::string& title) {
  title_ = title;
  if (window_.handle() == nullptr) {
    CreateApplicationWindow(title);
  } else {
    ::SetWindowTextA(window_.handle(), title.c_str());
  }
}

HWND Win32Application::Handle() {
  if (window_.handle() == nullptr) {
    if (title_.empty()) title_ = ProgramName();
    CreateApplicationWindow(title_);
  }
  return window_.handle();
}

void Win32Application::CreateApplicationWindow(const std::string& class_name) {
  class_name_ = class_name;
  // Never shown: a zero-sized popup that owns the program's other windows.
  window_.Create({.name = class_name_.c_str(),
                  .icon = ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON"),
                  .cursor = ::LoadCursorA(nullptr, IDC_ARROW)},
                 {.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS |
                           WS_SYSMENU | WS_MINIMIZEBOX,
                  .title = title_.c_str(),
                  .left = ::GetSystemMetrics(SM_CXSCREEN) / 2,
                  .top = ::GetSystemMetrics(SM_CYSCREEN) / 2},
                 [this](UINT message, WPARAM wparam, LPARAM lparam) {
                   return WindowProc(message, wparam, lparam);
                 });
  AcceptTaskbarCreated();
}

// The program runs as administrator: from Windows Vista on, a message from
// the shell, which runs with lower rights, is dropped unless the program lets
// it in. Windows 7 lets one window do it; Vista and Server 2008 only have the
// process-wide call. Earlier systems need nothing.
void Win32Application::AcceptTaskbarCreated() {
  const UINT taskbar_created = ::RegisterWindowMessageA("TaskbarCreated");
  if (taskbar_created == 0) return;
  using ChangeWindowFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using ChangeProcessFilter = BOOL(WINAPI*)(UINT, DWORD);
  constexpr DWORD kMessageFilterAllow = 1;  // MSGFLT_ALLOW
  constexpr DWORD kMessageFilterAdd = 1;    // MSGFLT_ADD
  if (auto change_window_filter = FindSystemEntry<ChangeWindowFilter>(
          "user32.dll", "ChangeWindowMessageFilterEx")) {
    change_window_filter(window_.handle(), taskbar_created, kMessageFilterAllow,
                         nullptr);
  } else if (auto change_process_filter = FindSystemEntry<ChangeProcessFilter>(
                 "user32.dll", "ChangeWindowMessageFilter")) {
    change_process_filter(taskbar_created, kMessageFilterAdd);
  }
}

std::optional<LRESULT> Win32Application::WindowProc(UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  // Hooks may remove themselves; they run from a copy.
  const auto hooks = hooks_;
  for (const auto& [id, hook] : hooks) {
    hook(message, static_cast<std::uintptr_t>(wparam),
         static_cast<std::intptr_t>(lparam));
  }
  if (message == WM_TIMER) {
    auto found = timers_.find(wparam);
    if (found != timers_.end()) {
      // The tick may kill its own timer.
      std::function<void()> tick = found->second;
      tick();
    }
    return 0;
  }
  if (message == posted_call_message_) {
    RunPostedCalls();
    return 0;
  }
  if (message == WM_CLOSE) {
    // Closing the application closes its main window, which decides what
    // that means; the application window itself stays.
    if (main_form_ != nullptr) ::SendMessageA(main_form_, WM_CLOSE, 0, 0);
    return 0;
  }
  return std::nullopt;
}

void Win32Application::Terminate() {
  terminated_ = true;
  // Wakes a GetMessage that waits, so that Run sees the request.
  ::PostMessageA(Handle(), WM_NULL, 0, 0);
}

bool Win32Application::Dispatch(const MSG& message) {
  if (message.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
  return true;
}

void Win32Application::Run() {
  Handle();
  MSG message;
  while (!terminated_) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      terminated_ = true;
      break;
    }
    Dispatch(message);
  }
}

void Win32Application::ProcessMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(message)) {
      // Left for the loop that runs the program to see.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
  }
}

void Win32Application::WaitForMessages(std::uint32_t timeout_ms) {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms, QS_ALLINPUT);
  ProcessMessages();
}

void Win32Application::Post(std::function<void()> call) {
  posted_.push_back(std::move(call));
  ::PostMessageA(Handle(), posted_call_message_, 0, 0);
}

void Win32Application::RunPostedCalls() {
  // One call per message; a call that opens a modal loop lets the next one
  // run inside it, as window messages do.
  if (posted_.empty()) return;
  std::function<void()> call = std::move(posted_.front());
  posted_.pop_front();
  call();
}

platform::Application::TimerId Win32Application::SetTimer(
    std::uint32_t interval_ms, std::function<void()> tick) {
  const UINT_PTR id = ++last_timer_;
  if (::SetTimer(Handle(), id, interval_ms, nullptr) == 0) return 0;
  timers_[id] = std::move(tick);
  return id;
}

void Win32Application::KillTimer(TimerId timer) {
  if (timers_.erase(static_cast<UINT_PTR>(timer)) == 0) return;
  ::KillTimer(window_.handle(), static_cast<UINT_PTR>(timer));
}

std::uint64_t Win32Application::TickCount() { return ::GetTickCount(); }

void Win32Application::RestoreApplication() {
  if (::IsIconic(Handle())) ::ShowWindow(window_.handle(), SW_RESTORE);
}

bool Win32Application::ApplicationWindowVisible() {
  return ::IsWindowVisible(Handle()) != FALSE;
}

void Win32Application::HideApplicationWindow() {
  ::ShowWindow(Handle(), SW_HIDE);
}

void Win32Application::ForegroundApplicationWindow() {
  ::SetForegroundWindow(Handle());
}

int Win32Application::AddApplicationHook(MessageHook hook) {
  hooks_[++last_hook_] = std::move(hook);
  return last_hook_;
}

void Win32Application::RemoveApplicationHook(int id) { hooks_.erase(id); }

platform::Size Win32Application::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::optional<platform::Point> Win32Application::CursorPos() {
  POINT point;
  if (!::GetCursorPos(&point)) return std::nullopt;
  return platform::Point{point.x, point.y};
}

}  // namespace plumeta::win32
