// Files in memory, keyed by their exact Windows path. A test can make any
// path fail to be written or replaced, or make a file read-only.
#ifndef TESTS_UNIT_SUPPORT_FAKE_FILES_H_
#define TESTS_UNIT_SUPPORT_FAKE_FILES_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace plumeta::testing {

class FakeFiles : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::map<std::string, platform::FileProtection> protection;
  std::set<std::string> read_only;
  // Path -> the code WriteTextFile fails with for it.
  std::map<std::string, platform::ErrorCode> write_failures;
  // Every call that changes something: "write <path>", "replace <from> <to>",
  // "delete <path>", "copy <from> <to>".
  std::vector<std::string> log;
  // Files another program holds open: InUse, and neither deletable nor
  // readable.
  std::set<std::string> in_use;
  // Target path -> the code Copy or Replace fails with for it.
  std::map<std::string, platform::ErrorCode> copy_failures;
  std::map<std::string, platform::ErrorCode> replace_failures;
  // Runs at every WriteTextFile, before it acts.
  std::function<void(const std::string& path)> on_write;

  bool Exists(const std::string& path) override { return files.count(path); }
  platform::ErrorCode Delete(const std::string& path) override {
    log.push_back("delete " + path);
    if (!files.count(path)) return platform::kErrorFileNotFound;
    if (read_only.count(path)) return platform::kErrorAccessDenied;
    if (in_use.count(path)) return platform::kErrorSharingViolation;
    files.erase(path);
    return platform::kSuccess;
  }
  platform::ErrorCode Copy(const std::string& from, const std::string& to,
                           bool fail_if_exists) override {
    log.push_back("copy " + from + " " + to);
    if (!files.count(from)) return platform::kErrorFileNotFound;
    if (in_use.count(from)) return platform::kErrorSharingViolation;
    if (fail_if_exists && files.count(to)) return platform::kErrorFileExists;
    if (auto it = copy_failures.find(to); it != copy_failures.end()) {
      return it->second;
    }
    files[to] = files[from];
    return platform::kSuccess;
  }
  platform::ErrorCode WriteTextFile(
      const std::string& path, const std::string& content,
      platform::FileProtection file_protection) override {
    if (on_write) on_write(path);
    log.push_back("write " + path);
    if (auto it = write_failures.find(path); it != write_failures.end()) {
      return it->second;
    }
    if (read_only.count(path)) return platform::kErrorAccessDenied;
    files[path] = content;
    protection[path] = file_protection;
    return platform::kSuccess;
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    if (!files.count(path)) return std::nullopt;
    return files[path];
  }
  bool InUse(const std::string& path) override {
    return files.count(path) && in_use.count(path);
  }
  std::optional<std::uint64_t> Size(const std::string& path) override {
    if (!files.count(path)) return std::nullopt;
    return files[path].size();
  }
  bool IsReadOnly(const std::string& path) override {
    return read_only.count(path);
  }
  platform::ErrorCode SetReadOnly(const std::string& path,
                                  bool is_read_only) override {
    if (is_read_only) {
      read_only.insert(path);
    } else {
      read_only.erase(path);
    }
    return platform::kSuccess;
  }
  platform::ErrorCode Replace(const std::string& replacement,
                              const std::string& target) override {
    log.push_back("replace " + replacement + " " + target);
    if (!files.count(replacement)) return platform::kErrorFileNotFound;
    if (read_only.count(target)) return platform::kErrorAccessDenied;
    if (auto it = replace_failures.find(target); it != replace_failures.end()) {
      return it->second;
    }
    files[target] = files[replacement];
    protection[target] = protection[replacement];
    files.erase(replacement);
    return platform::kSuccess;
  }
  platform::ErrorCode CreateFolder(const std::string&) override {
    return platform::kSuccess;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_FILES_H_
