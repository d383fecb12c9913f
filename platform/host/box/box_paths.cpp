#include "platform/host/box/box_paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "common/text.h"
#include "platform/host/box/box.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasForbiddenCharacter(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string WorkingFolder() {
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? "/" : folder.string();
}

std::string Normal(const std::string& linux_path) {
  std::string normal = fs::path(linux_path).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string Absolute(std::string_view linux_path) {
  std::string path(linux_path);
  if (path.empty() || path.front() != '/') path = WorkingFolder() + "/" + path;
  return Normal(path);
}

bool Exists(const std::string& linux_path) {
  struct stat info;
  return ::lstat(linux_path.c_str(), &info) == 0;
}

// The entry of `folder` named `name` in any case; the first in byte order
// when several differ only in case. Empty when there is none.
std::string FindNoCase(const std::string& folder, std::string_view name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()),
                                          &::closedir);
  if (!dir) return "";
  std::string best;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string_view candidate = entry->d_name;
    if (SameName(candidate, name) && (best.empty() || candidate < best)) {
      best = candidate;
    }
  }
  return best;
}

// `linux_path` below `root` as a Windows path on `letter`, or nullopt.
std::optional<std::string> OnDrive(const std::string& linux_path,
                                   const std::string& root, char letter) {
  std::string rest;
  if (linux_path == root) {
    rest = "";
  } else if (root == "/" && linux_path.front() == '/') {
    rest = linux_path.substr(1);
  } else if (linux_path.size() > root.size() &&
             linux_path.compare(0, root.size(), root) == 0 &&
             linux_path[root.size()] == '/') {
    rest = linux_path.substr(root.size() + 1);
  } else {
    return std::nullopt;
  }
  for (char& c : rest) {
    if (c == '/') c = '\\';
  }
  return std::string(1, letter) + ":\\" + rest;
}

}  // namespace

BoxPaths::BoxPaths(const std::string& box_folder)
    : box_folder_(Absolute(box_folder)) {}

std::string BoxPaths::DriveRoot(char letter) const {
  letter = AsciiUpper(letter);
  return letter == 'Z' ? "/" : DriveFolder(box_folder_, letter);
}

std::optional<std::string> BoxPaths::FullPath(
    std::string_view windows_path) const {
  std::string path(windows_path);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (path.rfind("\\\\?\\", 0) == 0) path.erase(0, 4);  // \\?\C:\...
  if (path.empty() || path.rfind("\\\\", 0) == 0) return std::nullopt;

  char drive;
  std::string rest;
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    drive = AsciiUpper(path[0]);
    rest = path.substr(2);
    if (rest.empty() || rest.front() != '\\') {
      // "C:name" is relative to the drive's current folder: the working
      // folder on its own drive, the root on every other.
      std::string working = ToWindows(WorkingFolder());
      rest =
          working[0] == drive ? working.substr(2) + "\\" + rest : "\\" + rest;
    }
  } else if (path.front() == '\\') {
    drive = 'C';
    rest = path;
  } else {
    std::string working = ToWindows(WorkingFolder());
    drive = working[0];
    rest = working.substr(2) + "\\" + path;
  }

  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string name = rest.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
      name.pop_back();
    }
    if (name.empty()) continue;
    if (HasForbiddenCharacter(name)) return std::nullopt;
    names.push_back(std::move(name));
  }

  std::string full = std::string(1, drive) + ":\\";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) full += '\\';
    full += names[i];
  }
  return full;
}

std::optional<std::string> BoxPaths::ToLinux(
    std::string_view windows_path) const {
  std::optional<std::string> full = FullPath(windows_path);
  if (!full) return std::nullopt;
  std::string linux_path = DriveRoot((*full)[0]);
  bool looking = true;  // until a component does not exist
  std::size_t start = 3;
  while (start < full->size()) {
    std::size_t end = full->find('\\', start);
    if (end == std::string::npos) end = full->size();
    std::string name = full->substr(start, end - start);
    start = end + 1;
    std::string folder = linux_path;
    if (linux_path.back() != '/') linux_path += '/';
    if (looking && !Exists(linux_path + name)) {
      std::string found = FindNoCase(folder, name);
      if (found.empty()) {
        looking = false;
      } else {
        name = found;
      }
    }
    linux_path += name;
  }
  return linux_path;
}

std::string BoxPaths::ToWindows(std::string_view linux_path) const {
  std::string path = Absolute(linux_path);
  // Drives by the paths as given first, then with links resolved.
  for (bool canonical : {false, true}) {
    std::string candidate = path;
    if (canonical) {
      std::error_code error;
      candidate = Normal(fs::weakly_canonical(path, error).string());
      if (error) break;
    }
    for (char letter = 'C'; letter <= 'Y'; ++letter) {
      std::string root = DriveRoot(letter);
      if (letter != 'C' && !Exists(root)) continue;
      if (canonical) {
        std::error_code error;
        root = Normal(fs::weakly_canonical(root, error).string());
        if (error) continue;
      }
      if (std::optional<std::string> windows =
              OnDrive(candidate, root, letter)) {
        return *windows;
      }
    }
  }
  return *OnDrive(path, "/", 'Z');
}

std::string RedirectForWow64(const std::string& full_path,
                             std::string_view windows_folder) {
  std::string folder(windows_folder);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  auto below =
      [&full_path](const std::string& prefix) -> std::optional<std::string> {
    if (full_path.size() < prefix.size() ||
        !SameName(std::string_view(full_path).substr(0, prefix.size()),
                  prefix)) {
      return std::nullopt;
    }
    if (full_path.size() == prefix.size()) return std::string();
    if (full_path[prefix.size()] != '\\') return std::nullopt;
    return full_path.substr(prefix.size());
  };

  if (std::optional<std::string> rest = below(folder + "\\Sysnative")) {
    return folder + "\\system32" + *rest;
  }
  std::optional<std::string> rest = below(folder + "\\system32");
  if (!rest) return full_path;
  static const char* const kExempt[] = {"catroot", "catroot2", "drivers\\etc",
                                        "logfiles", "spool"};
  for (const char* exempt : kExempt) {
    std::string inner = "\\" + std::string(exempt);
    std::string_view tail = *rest;
    if (tail.size() >= inner.size() &&
        SameName(tail.substr(0, inner.size()), inner) &&
        (tail.size() == inner.size() || tail[inner.size()] == '\\')) {
      return full_path;
    }
  }
  return folder + "\\SysWOW64" + *rest;
}

}  // namespace plumeta::host
