// The Ghostscript console program as the wine suite installs it at the
// port's "Command" path: it runs the native Ghostscript through Wine
// (ntdll's __wine_unix_spawnvp), with the Windows paths of its arguments
// and argument files mapped by Wine itself (kernel32's
// wine_get_unix_file_name). The output file is held open without sharing
// while Ghostscript runs, so Windows programs see it in use, as with the
// real program; Ghostscript's exit code is its own.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"
#include "tests/wine/gs_standin/argument_file.h"
#include "tests/wine/support/wine_test_support.h"

namespace {

using plumeta::win32::ScopedFileHandle;

using UnixFileName = char*(CDECL*)(const WCHAR*);

std::optional<std::string> UnixPath(const std::string& windows_path) {
  const auto unix_file_name = plumeta::win32::FindSystemEntry<UnixFileName>(
      "kernel32.dll", "wine_get_unix_file_name");
  if (unix_file_name == nullptr) return std::nullopt;
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::vector<WCHAR> wide(length);
  ::MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide.data(),
                        length);
  char* mapped = unix_file_name(wide.data());
  if (mapped == nullptr) return std::nullopt;
  std::string result = mapped;
  ::HeapFree(::GetProcessHeap(), 0, mapped);
  return result;
}

std::optional<std::string> ReadWindowsFile(const std::string& path) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) &&
         read > 0) {
    content.append(buffer, read);
  }
  return content;
}

// Copies standard input into a new temporary file; its Windows path.
std::optional<std::string> CopyStandardInput() {
  char folder[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  if (::GetTempPathA(sizeof(folder), folder) == 0 ||
      ::GetTempFileNameA(folder, "gsi", 0, name) == 0) {
    return std::nullopt;
  }
  ScopedFileHandle copy(::CreateFileA(name, GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
  if (!copy) return std::nullopt;
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(input, buffer, sizeof(buffer), &read, nullptr) &&
         read > 0) {
    DWORD written = 0;
    if (!::WriteFile(copy.Get(), buffer, read, &written, nullptr) ||
        written != read) {
      return std::nullopt;
    }
  }
  return std::string(name);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "gswin32c (stand-in): %s\n", message.c_str());
  return 1;
}

// The monitor writes the argument file into the native system folder of
// 64-bit Windows; the stand-in reads the paths it is given there too, also
// as a 32-bit program under WOW64.
void ReadNativeSystemFolder() {
  using DisableRedirection = BOOL(WINAPI*)(PVOID*);
  if (auto disable = plumeta::win32::FindSystemEntry<DisableRedirection>(
          "kernel32.dll", "Wow64DisableWow64FsRedirection")) {
    PVOID old_value = nullptr;
    disable(&old_value);
  }
}

int Run(int argc, char** argv) {
  ReadNativeSystemFolder();
  const auto spawn =
      plumeta::win32::FindSystemEntry<plumeta::wine_test::WineUnixSpawn>(
          "ntdll.dll", "__wine_unix_spawnvp");
  if (spawn == nullptr) return Fail("runs only under Wine");
  const std::vector<std::string> arguments(argv + 1, argv + argc);

  // The port gives the job on standard input: Ghostscript reads a copy of
  // it on its own standard input, unless input is the console.
  std::string stdin_copy;
  std::string stdin_unix;
  if (::GetFileType(::GetStdHandle(STD_INPUT_HANDLE)) != FILE_TYPE_CHAR) {
    auto copy = CopyStandardInput();
    if (!copy) return Fail("cannot keep standard input");
    stdin_copy = *copy;
    stdin_unix = UnixPath(stdin_copy).value_or("");
  }
  struct RemoveCopy {
    const std::string& path;
    ~RemoveCopy() {
      if (!path.empty()) ::DeleteFileA(path.c_str());
    }
  } remove_copy{stdin_copy};

  const plumeta::gs_standin::Translation translation =
      plumeta::gs_standin::Translate(arguments, &UnixPath, &ReadWindowsFile);
  if (!translation.error.empty()) return Fail(translation.error);

  // Held without sharing from before Ghostscript starts until it is done.
  ScopedFileHandle held;
  if (!translation.output_file.empty()) {
    held.Reset(::CreateFileA(translation.output_file.c_str(), GENERIC_WRITE, 0,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!held) {
      return Fail("cannot open " + translation.output_file + " (error " +
                  std::to_string(::GetLastError()) + ")");
    }
  }

  std::vector<std::string> command = {"gs"};
  if (!stdin_unix.empty()) {
    command = {"/bin/sh", "-c", "exec gs \"$@\" <\"$0\"", stdin_unix};
  }
  command.insert(command.end(), translation.arguments.begin(),
                 translation.arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : command) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return static_cast<int>(spawn(pointers.data(), 1));
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
