#include "tests/wine/support/process_runner.h"

#include <vector>

namespace plumeta::wine_test {
namespace {

std::vector<char> Writable(const std::string& text) {
  std::vector<char> writable(text.begin(), text.end());
  writable.push_back('\0');
  return writable;
}

}  // namespace

std::optional<Finished> RunToEnd(const std::string& command_line,
                                 DWORD timeout_ms) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &inherit, 0)) return std::nullopt;
  win32::ScopedKernelHandle reader(read_end);
  win32::ScopedKernelHandle writer(write_end);
  ::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  PROCESS_INFORMATION started{};
  std::vector<char> writable = Writable(command_line);
  const DWORD start = ::GetTickCount();
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return std::nullopt;
  }
  win32::ScopedKernelHandle process(started.hProcess);
  win32::ScopedKernelHandle thread(started.hThread);
  writer.Reset();

  // Reads while waiting, so that neither a full pipe nor a program that
  // never ends can hold the test.
  Finished finished;
  auto drain = [&] {
    DWORD available = 0;
    while (
        ::PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) &&
        available > 0) {
      char buffer[4096];
      DWORD read = 0;
      if (!::ReadFile(read_end, buffer, sizeof(buffer), &read, nullptr) ||
          read == 0) {
        break;
      }
      finished.output.append(buffer, read);
    }
  };
  DWORD waited = WAIT_TIMEOUT;
  while (waited == WAIT_TIMEOUT && ::GetTickCount() - start < timeout_ms) {
    drain();
    waited = ::WaitForSingleObject(process.Get(), 50);
  }
  drain();
  finished.elapsed_ms = ::GetTickCount() - start;
  if (waited != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 1);
    return std::nullopt;
  }
  ::GetExitCodeProcess(process.Get(), &finished.exit_code);
  return finished;
}

win32::ScopedKernelHandle StartProcess(const std::string& command_line,
                                       DWORD* process_id) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  std::vector<char> writable = Writable(command_line);
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return win32::ScopedKernelHandle();
  }
  ::CloseHandle(started.hThread);
  if (process_id != nullptr) *process_id = started.dwProcessId;
  return win32::ScopedKernelHandle(started.hProcess);
}

}  // namespace plumeta::wine_test
