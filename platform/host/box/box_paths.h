// Host stand-in (Linux only). Windows paths of the box's programs and the
// Linux paths they stand for, both ways, as Wine maps them:
//
//   C:\WINDOWS\system32\plum.rsp  <->  <box>/drive_c/WINDOWS/system32/plum.rsp
//   Z:\usr\share\fonts            <->  /usr/share/fonts
//
// Drive C: is the box's drive_c folder (D: drive_d, and so on where such a
// folder exists); Z: is the Linux root, so any Linux path outside the box's
// drives shows as Z:\ plus that path. Each component that exists is found
// without regard to case, as on Windows; the others keep the case given.
#ifndef PLATFORM_HOST_BOX_BOX_PATHS_H_
#define PLATFORM_HOST_BOX_BOX_PATHS_H_

#include <optional>
#include <string>
#include <string_view>

namespace plumeta::host {

class BoxPaths {
 public:
  explicit BoxPaths(const std::string& box_folder);

  // GetFullPathNameA: "X:\a\b" with '/' read as '\', "." and ".." resolved
  // (never above the drive's root), trailing dots and blanks of names
  // dropped. A path rooted without a drive ("\system32\plum.rsp") is on C:;
  // a relative one is in the current folder (the Linux working folder's
  // Windows path). nullopt for UNC and device paths, and for names with a
  // character Windows does not allow in them (< > : " | ? * and controls).
  std::optional<std::string> FullPath(std::string_view windows_path) const;

  // The Linux path for a Windows path; nullopt where FullPath gives none.
  std::optional<std::string> ToLinux(std::string_view windows_path) const;

  // The Windows path for a Linux path (relative ones from the working
  // folder): on a drive of the box, else Z:.
  std::string ToWindows(std::string_view linux_path) const;

  const std::string& box_folder() const { return box_folder_; }

 private:
  std::string DriveRoot(char letter) const;

  std::string box_folder_;  // absolute, without a trailing slash
};

// The full path (as FullPath gives it) that a 32-bit program reaches on
// 64-bit Windows while WOW64's file-system redirection is on: under
// `windows_folder`\system32 it is SysWOW64 instead, except in the folders
// Windows exempts (system32\catroot, catroot2, drivers\etc, logfiles and
// spool); `windows_folder`\Sysnative is the real system32.
std::string RedirectForWow64(const std::string& full_path,
                             std::string_view windows_folder);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_BOX_PATHS_H_
