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
  if (window_ != nullptr) {
    for (const auto& [id, tick] : timers_) ::KillTimer(window_, id);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
    ::UnregisterClassA(class_name_.c_str(), ::GetModuleHandleA(nullptr));
  }
}

void Win32Application::SetTitle(const std::string& title) {
  title_ = title;
  if (window_ == nullptr) {
    CreateApplicationWindow(title);
  } else {
    ::SetWindowTextA(window_, title.c_str());
  }
}

HWND Win32Application::Handle() {
  if (window_ == nullptr) {
    if (title_.empty()) title_ = ProgramName();
    CreateApplicationWindow(title_);
  }
  return window_;
}

void Win32Application::CreateApplicationWindow(const std::string& class_name) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  class_name_ = class_name;
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = &Win32Application::StaticWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = ::LoadIconA(instance, "MAINICON");
  window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = class_name_.c_str();
  ::RegisterClassA(&window_class);
  // Never shown: a zero-sized popup that owns the program's other windows.
  window_ = ::CreateWindowExA(
      0, class_name_.c_str(), title_.c_str(),
      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
      ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2,
      0, 0, nullptr, nullptr, instance, nullptr);
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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
    change_window_filter(window_, taskbar_created, kMessageFilterAllow,
                         nullptr);
  } else if (auto change_process_filter = FindSystemEntry<ChangeProcessFilter>(
                 "user32.dll", "ChangeWindowMessageFilter")) {
    change_process_filter(taskbar_created, kMessageFilterAdd);
  }
}

LRESULT CALLBACK Win32Application::StaticWindowProc(HWND window, UINT message,
                                                    WPARAM wparam,
                                                    LPARAM lparam) {
  auto* self = reinterpret_cast<Win32Application*>(
      ::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
  return self->WindowProc(message, wparam, lparam);
}

LRESULT Win32Application::WindowProc(UINT message, WPARAM wparam,
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
  return ::DefWindowProcA(window_, message, wparam, lparam);
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
  ::KillTimer(window_, static_cast<UINT_PTR>(timer));
}

std::uint64_t Win32Application::TickCount() { return ::GetTickCount(); }

void Win32Application::RestoreApplication() {
  if (::IsIconic(Handle())) ::ShowWindow(window_, SW_RESTORE);
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
