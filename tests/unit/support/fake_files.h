// Files in memory, keyed by their exact Windows path. A test can make any
// path fail to be written or replaced, make a file read-only, or give a file
// a second spelling (`aliases`). Each file has an identity that moves with
// it when it is replaced onto another path, and a modification time that is
// its content's, plus `Touch`. Paths in system32 can be made to land in
// SysWOW64 (`wow64_redirection_on`). With a `log`, every call that changes
// something goes into it ("file write <path> admins-only", "file copy <from>
// -> <to> overwrite", "file replace <from> -> <to>", "file delete <path>").
#ifndef TESTS_UNIT_SUPPORT_FAKE_FILES_H_
#define TESTS_UNIT_SUPPORT_FAKE_FILES_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeFiles : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::map<std::string, platform::FileProtection> protection;
  std::set<std::string> read_only;
  // Path -> the code WriteTextFile fails with for it.
  std::map<std::string, platform::ErrorCode> write_failures;
  CallLog* log = nullptr;
  // Files another program holds open: InUse (even once they are gone), and
  // neither deletable nor readable.
  std::set<std::string> in_use;
  // Target path -> the code Copy or Replace fails with for it.
  std::map<std::string, platform::ErrorCode> copy_failures;
  std::map<std::string, platform::ErrorCode> replace_failures;
  // Runs at every WriteTextFile, before it acts.
  std::function<void(const std::string& path)> on_write;
  // Another spelling -> the path it names.
  std::map<std::string, std::string> aliases;
  // Path -> the last write time Facts gives; else one made from the content.
  std::map<std::string, std::uint64_t> modified;
  // How often InUse opened a file.
  int in_use_checks = 0;
  // The size a file's folder entry shows, when it is not the file's own: NTFS
  // brings the entry up to date only when the writer closes the file.
  std::map<std::string, std::uint64_t> folder_entry_sizes;
  // How many bytes ReadFile and ReadPart returned.
  std::uint64_t bytes_read = 0;
  // When set and answering true, a path in a "system32" folder lands in
  // "SysWOW64" instead, as a 32-bit program's does on 64-bit Windows while
  // WOW64's redirection is on; the log shows where each call landed.
  std::function<bool()> wow64_redirection_on;

  // A write that leaves the content as it was.
  void Touch(const std::string& path) { ++stamps_[Key(path)]; }

  bool Exists(const std::string& name) override {
    return files.count(Key(name));
  }
  platform::ErrorCode Delete(const std::string& name) override {
    Record(log, "file delete " + Land(name));
    const std::string path = Key(name);
    if (!files.count(path)) return platform::kErrorFileNotFound;
    if (read_only.count(path)) return platform::kErrorAccessDenied;
    if (in_use.count(path)) return platform::kErrorSharingViolation;
    files.erase(path);
    identities_.erase(path);
    return platform::kSuccess;
  }
  platform::ErrorCode Copy(const std::string& from_name,
                           const std::string& to_name,
                           bool fail_if_exists) override {
    Record(log, "file copy " + Land(from_name) + " -> " + Land(to_name) +
                    (fail_if_exists ? " fail-if-exists" : " overwrite"));
    const std::string from = Key(from_name);
    const std::string to = Key(to_name);
    if (!files.count(from)) return platform::kErrorFileNotFound;
    if (in_use.count(from)) return platform::kErrorSharingViolation;
    if (fail_if_exists && files.count(to)) return platform::kErrorFileExists;
    if (auto it = copy_failures.find(to); it != copy_failures.end()) {
      return it->second;
    }
    files[to] = files[from];
    identities_.erase(to);
    return platform::kSuccess;
  }
  platform::ErrorCode WriteTextFile(
      const std::string& path_given, const std::string& content,
      platform::FileProtection file_protection) override {
    const std::string path = Land(path_given);
    if (on_write) on_write(path);
    Record(log,
           "file write " + path +
               (file_protection ==
                        platform::FileProtection::kAdministratorsAndSystemOnly
                    ? " admins-only"
                    : " inherited"));
    if (auto it = write_failures.find(path); it != write_failures.end()) {
      return it->second;
    }
    if (read_only.count(path)) return platform::kErrorAccessDenied;
    files[path] = content;
    protection[path] = file_protection;
    return platform::kSuccess;
  }
  std::optional<std::string> ReadFile(const std::string& path_given) override {
    const std::string path = Land(path_given);
    if (!files.count(path)) return std::nullopt;
    bytes_read += files[path].size();
    return files[path];
  }
  std::optional<std::string> ReadPart(const std::string& path,
                                      std::uint64_t offset,
                                      std::size_t length) override {
    if (!files.count(path)) return std::nullopt;
    const std::string& content = files[path];
    if (offset >= content.size()) return std::string();
    std::string part = content.substr(offset, length);
    bytes_read += part.size();
    return part;
  }
  bool InUse(const std::string& name) override {
    ++in_use_checks;
    // As told, file or no file: the caller asks whether it exists.
    return in_use.count(Key(name));
  }
  std::optional<std::uint64_t> Size(const std::string& name) override {
    const std::string path = Key(name);
    if (!files.count(path)) return std::nullopt;
    if (auto entry = folder_entry_sizes.find(path);
        entry != folder_entry_sizes.end()) {
      return entry->second;
    }
    return files[path].size();
  }
  std::optional<platform::FileFacts> Facts(const std::string& name) override {
    const std::string path = Key(name);
    if (!files.count(path)) return std::nullopt;
    auto [identity, fresh] = identities_.try_emplace(path, next_identity_);
    if (fresh) ++next_identity_;
    const auto time = modified.find(path);
    return platform::FileFacts{
        1, identity->second, files[path].size(),
        time != modified.end()
            ? time->second
            : std::hash<std::string>{}(files[path]) + stamps_[path]};
  }
  bool IsReadOnly(const std::string& path) override {
    return read_only.count(Land(path));
  }
  platform::ErrorCode SetReadOnly(const std::string& path,
                                  bool is_read_only) override {
    if (is_read_only) {
      read_only.insert(Land(path));
    } else {
      read_only.erase(Land(path));
    }
    return platform::kSuccess;
  }
  platform::ErrorCode Replace(const std::string& replacement_name,
                              const std::string& target_name) override {
    Record(log, "file replace " + Land(replacement_name) + " -> " +
                    Land(target_name));
    const std::string replacement = Key(replacement_name);
    const std::string target = Key(target_name);
    if (!files.count(replacement)) return platform::kErrorFileNotFound;
    if (read_only.count(target)) return platform::kErrorAccessDenied;
    if (auto it = replace_failures.find(target); it != replace_failures.end()) {
      return it->second;
    }
    if (in_use.count(replacement)) return platform::kErrorSharingViolation;
    files[target] = files[replacement];
    protection[target] = protection[replacement];
    stamps_[target] = stamps_[replacement];
    if (auto moved = identities_.find(replacement);
        moved != identities_.end()) {
      identities_[target] = moved->second;
      identities_.erase(moved);
    } else {
      identities_.erase(target);
    }
    files.erase(replacement);
    return platform::kSuccess;
  }
  platform::ErrorCode CreateFolder(const std::string&) override {
    return platform::kSuccess;
  }
  // Folders that exist; the folder of every file does too.
  std::set<std::string> folders;
  platform::ErrorCode MoveNew(const std::string& from_name,
                              const std::string& to_name) override {
    Record(log, "file move-new " + Land(from_name) + " -> " + Land(to_name));
    if (files.count(Key(to_name))) return platform::kErrorAlreadyExists;
    CallLog* const kept = std::exchange(log, nullptr);
    const platform::ErrorCode code = Replace(from_name, to_name);
    log = kept;
    return code;
  }
  std::vector<std::string> FileNames(const std::string& folder) override {
    std::vector<std::string> names;
    for (const auto& [file, content] : files) {
      if (file.size() > folder.size() + 1 &&
          file.compare(0, folder.size(), folder) == 0 &&
          file[folder.size()] == '\\' &&
          file.find('\\', folder.size() + 1) == std::string::npos) {
        names.push_back(file.substr(folder.size() + 1));
      }
    }
    return names;
  }
  bool IsFolder(const std::string& path) override {
    if (folders.count(path)) return true;
    for (const auto& [file, content] : files) {
      if (file.size() > path.size() &&
          file.compare(0, path.size(), path) == 0 &&
          file[path.size()] == '\\') {
        return true;
      }
    }
    return false;
  }

 private:
  std::string Key(const std::string& given) const {
    const std::string path = Land(given);
    auto alias = aliases.find(path);
    return alias == aliases.end() ? path : alias->second;
  }
  std::string Land(const std::string& path) const {
    if (!wow64_redirection_on || !wow64_redirection_on()) return path;
    const std::string::size_type at = path.find("\\system32\\");
    if (at == std::string::npos) return path;
    return path.substr(0, at) + "\\SysWOW64\\" + path.substr(at + 10);
  }

  std::map<std::string, std::uint64_t> identities_;
  std::map<std::string, std::uint64_t> stamps_;
  std::uint64_t next_identity_ = 1;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_FILES_H_
