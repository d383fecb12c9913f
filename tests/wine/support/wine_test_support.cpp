#include "tests/wine/support/wine_test_support.h"

#include <atomic>
#include <vector>

namespace plumeta::wine_test {

namespace {

std::string UniqueName(const char* stem) {
  static std::atomic<int> counter{0};
  return std::string(stem) + "-" + std::to_string(::GetCurrentProcessId()) +
         "-" + std::to_string(counter++);
}

void RemoveFolder(const std::string& folder, int depth) {
  WIN32_FIND_DATAA entry{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (depth > 0) RemoveFolder(path, depth - 1);
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof(temp), temp);
  path_ = std::string(temp) + UniqueName("plumeta-wine");
  ::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveFolder(path_, 1); }

std::string ScratchFolder::File(const std::string& name) const {
  return path_ + "\\" + name;
}

ScratchKey::ScratchKey(HKEY root, const std::string& leaf)
    : root_(root),
      path_("Software\\PlumetaWineTests\\" + UniqueName(leaf.c_str())) {}

ScratchKey::~ScratchKey() {
  ::RegDeleteTreeA(root_, path_.c_str());
  // The shared parent goes once it is empty.
  ::RegDeleteKeyA(root_, "Software\\PlumetaWineTests");
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

void DeleteValue(HKEY root, const char* path, const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    ::RegDeleteValueA(key, name);
    ::RegCloseKey(key);
  }
}

std::string Windir() {
  char folder[MAX_PATH + 1] = {};
  ::GetEnvironmentVariableA("windir", folder, sizeof(folder));
  return folder;
}

std::string SystemFolder() {
  char folder[MAX_PATH + 1] = {};
  ::GetSystemDirectoryA(folder, sizeof(folder));
  return folder;
}

// (Built by appending: GCC 12 warns wrongly about "\"" + std::string at -O3.)
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  ::CloseHandle(file);
  return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool wrote =
      ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()),
                  &written, nullptr) &&
      written == content.size();
  return ::CloseHandle(file) && wrote;
}

bool RunsUnderWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"),
                          "wine_get_version") != nullptr;
}

std::optional<std::string> UnixPath(const std::string& windows_path) {
  using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);
  const auto unix_file_name = reinterpret_cast<UnixFileNameFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(
          ::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_file_name == nullptr) return std::nullopt;
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, nullptr, 0);
  std::vector<WCHAR> wide(length);
  ::MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide.data(),
                        length);
  char* unix_path = unix_file_name(wide.data());
  if (unix_path == nullptr) return std::nullopt;
  std::string result = unix_path;
  ::HeapFree(::GetProcessHeap(), 0, unix_path);
  return result;
}

std::string NativeSystemFolder() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  BOOL wow64 = FALSE;
  if (auto is_wow64 = win32::FindSystemEntry<IsWow64ProcessFunction>(
          "kernel32.dll", "IsWow64Process")) {
    if (!is_wow64(::GetCurrentProcess(), &wow64)) wow64 = FALSE;
  }
  char folder[MAX_PATH + 1] = {};
  if (wow64) {
    ::GetWindowsDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\Sysnative";
  }
  ::GetSystemDirectoryA(folder, sizeof(folder));
  return folder;
}

std::string ThroughDriveZ(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace plumeta::wine_test
