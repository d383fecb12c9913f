// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/top_level_windows.h"

#include <memory>
#include <utility>

#include "platform/application.h"

namespace plumeta::win32 {

namespace {

constexpr int kTextBuffer = 256;

HWND ToHwnd(platform::WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

platform::TopLevelWindow DescribeWindow(HWND window) {
  platform::TopLevelWindow described;
  described.handle = reinterpret_cast<platform::WindowHandle>(window);
  char buffer[kTextBuffer];
  int length = ::GetClassNameA(window, buffer, kTextBuffer);
  if (length > 0) described.class_name.emplace(buffer, length);
  // 0 is both an empty title and a failure; neither ever matches.
  length = ::GetWindowTextA(window, buffer, kTextBuffer);
  described.title.emplace(buffer, length > 0 ? length : 0);
  return described;
}

platform::TopLevelWindow Win32TopLevelWindows::ApplicationWindow() {
  HWND window = application_window_ ? application_window_() : nullptr;
  if (window == nullptr) return {};
  return DescribeWindow(window);
}

std::vector<platform::TopLevelWindow> Win32TopLevelWindows::EnumWindows() {
  std::vector<HWND> handles;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&handles));
  std::vector<platform::TopLevelWindow> windows;
  windows.reserve(handles.size());
  for (HWND window : handles) windows.push_back(DescribeWindow(window));
  return windows;
}

platform::WindowHandle Win32TopLevelWindows::LastActivePopup(
    platform::WindowHandle window) {
  return reinterpret_cast<platform::WindowHandle>(
      ::GetLastActivePopup(ToHwnd(window)));
}

bool Win32TopLevelWindows::BringWindowToTop(platform::WindowHandle window) {
  return ::BringWindowToTop(ToHwnd(window)) != FALSE;
}

bool Win32TopLevelWindows::IsIconic(platform::WindowHandle window) {
  return ::IsIconic(ToHwnd(window)) != FALSE;
}

bool Win32TopLevelWindows::Restore(platform::WindowHandle window) {
  return ::ShowWindow(ToHwnd(window), SW_RESTORE) != FALSE;
}

bool Win32TopLevelWindows::SetForegroundWindow(platform::WindowHandle window) {
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

}  // namespace plumeta::win32

namespace plumeta::platform {

std::unique_ptr<TopLevelWindows> CreateTopLevelWindows(
    Application& application) {
  return std::make_unique<win32::Win32TopLevelWindows>([&application] {
    return reinterpret_cast<HWND>(application.ApplicationWindowHandle());
  });
}

}  // namespace plumeta::platform
