// Helpers for the wine suite: scratch folders and registry keys that clean up
// after themselves, whole files and keys looked at with the raw API, and
// Wine's own view of paths.
#ifndef TESTS_WINE_SUPPORT_WINE_TEST_SUPPORT_H_
#define TESTS_WINE_SUPPORT_WINE_TEST_SUPPORT_H_

#include <optional>
#include <string>

#include "platform/win32/windows_api.h"

namespace plumeta::wine_test {

// The value tests put in the last error before a call, to see whether the
// call set it (Wine's own tests do the same).
inline constexpr DWORD kUntouchedError = 0xdeadbeef;

// A fresh folder under the temporary folder, removed with its files (and the
// files of its direct subfolders) at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  // path() + "\" + name
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// A key path under HKCU or HKLM unique to this process, its tree deleted when
// the object goes.
class ScratchKey {
 public:
  ScratchKey(HKEY root, const std::string& leaf);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::string& path() const { return path_; }

 private:
  HKEY root_;
  std::string path_;
};

// Whether the key can be opened for reading.
bool KeyExists(HKEY root, const std::string& path);
// Deletes the value, if its key can be opened.
void DeleteValue(HKEY root, const char* path, const char* name);

// The Windows folder (%windir%) and the system folder.
std::string Windir();
std::string SystemFolder();
// `text` in double quotes: one argument of a command line.
std::string Quoted(const std::string& text);

// The whole content of a file read with the raw API; nullopt if it cannot be
// opened.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes a file with the raw API; false on any failure.
bool WriteWholeFile(const std::string& path, const std::string& content);

// Whether this program runs under Wine (ntdll exports wine_get_version).
bool RunsUnderWine();
// The Unix path Wine gives a Windows path (kernel32's
// wine_get_unix_file_name); nullopt outside Wine.
std::optional<std::string> UnixPath(const std::string& windows_path);
// ntdll's __wine_unix_spawnvp: runs a Unix program, and with `wait` returns
// its exit code. Wine's 32-bit ntdll exports it as stdcall
// (___wine_unix_spawnvp@8); WINAPI is also right for x86_64, which has one
// convention.
using WineUnixSpawn = LONG(WINAPI*)(char* const argv[], int wait);

// The system folder as the shipped programs write it: the native one of
// 64-bit Windows. A 32-bit program under WOW64 reaches it as
// %windir%\Sysnative (its own system32 is redirected to SysWOW64).
std::string NativeSystemFolder();

// A Unix path as Wine's drive Z: shows it ("Z:\tmp\x" for "/tmp/x"), which
// no WOW64 redirection touches.
std::string ThroughDriveZ(const std::string& unix_path);

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_WINE_TEST_SUPPORT_H_
