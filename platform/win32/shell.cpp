// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/shell.h"

#include <shellapi.h>

namespace plumeta::win32 {
namespace {

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

std::string DoubleNulList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) {
    list += path;
    list += '\0';
  }
  list += '\0';
  return list;
}

std::intptr_t Win32Shell::Execute(
    const platform::ShellExecuteRequest& request) {
  HWND owner = nullptr;
  if (request.owned_by_main_window && main_window_) owner = main_window_();
  HINSTANCE result = ::ShellExecuteA(
      owner, OrNull(request.operation), request.file.c_str(),
      OrNull(request.parameters), OrNull(request.directory), request.show_mode);
  return reinterpret_cast<std::intptr_t>(result);
}

int Win32Shell::RunFileOperation(const platform::FileOperation& operation) {
  const std::string from = DoubleNulList(operation.from);
  // The destination too ends with two NULs (one from the string itself).
  const std::string to = operation.to + '\0';
  SHFILEOPSTRUCTA request{};
  request.hwnd = nullptr;
  request.wFunc = static_cast<UINT>(operation.function);
  request.pFrom = from.c_str();
  request.pTo = to.c_str();
  request.fFlags = operation.flags;
  request.lpszProgressTitle = operation.progress_title.c_str();
  return ::SHFileOperationA(&request);
}

bool Win32Shell::SetCurrentFolder(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

}  // namespace plumeta::win32
