// Everything the setup program reaches, as fakes that write one call log:
// the in-memory registry behind a recording decorator, files in memory, the
// spooler, shell and processes fakes, an application whose timers a test
// fires, and a balloon that only records.
#ifndef TESTS_UNIT_SUPPORT_SETUP_WORLD_H_
#define TESTS_UNIT_SUPPORT_SETUP_WORLD_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/module_list.h"
#include "common/system_utils.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/registry.h"
#include "setup/notice_balloon.h"
#include "setup/setup_form.h"
#include "tests/unit/support/call_log.h"
#include "tests/unit/support/fake_libraries.h"
#include "tests/unit/support/fake_processes.h"
#include "tests/unit/support/fake_shell.h"
#include "tests/unit/support/fake_spooler.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/fake_user_interface.h"

namespace plumeta::testing {

inline std::string RootName(platform::RootKey root) {
  return root == platform::RootKey::kLocalMachine ? "HKLM\\" : "HKCU\\";
}

// Forwards to another registry and logs every change; writes under a chosen
// key path, or opening it, can be made to fail.
class RecordingRegistry : public platform::Registry {
 public:
  RecordingRegistry(platform::Registry& inner, CallLog& log)
      : inner_(inner), log_(log) {}

  std::string failing_key;  // "HKLM\..." whose opens and writes fail with 5
  bool fail_open = false;   // the open itself fails, not just the writes

  platform::ErrorCode OpenKey(
      platform::RootKey root, const std::string& path, bool create,
      std::unique_ptr<platform::RegistryKey>* key) override {
    const std::string full = RootName(root) + path;
    if (fail_open && full == failing_key) return platform::kErrorAccessDenied;
    std::unique_ptr<platform::RegistryKey> existing;
    const bool existed =
        inner_.OpenKey(root, path, false, &existing) == platform::kSuccess;
    std::unique_ptr<platform::RegistryKey> inner_key;
    const platform::ErrorCode opened =
        inner_.OpenKey(root, path, create, &inner_key);
    if (opened != platform::kSuccess) return opened;
    if (!existed) log_.Add("reg create-key " + full);
    *key = std::make_unique<Key>(*this, std::move(inner_key), full);
    return platform::kSuccess;
  }
  platform::ErrorCode DeleteKeyTree(platform::RootKey root,
                                    const std::string& path) override {
    log_.Add("reg delete-tree " + RootName(root) + path);
    return inner_.DeleteKeyTree(root, path);
  }

 private:
  class Key : public platform::RegistryKey {
   public:
    Key(RecordingRegistry& owner, std::unique_ptr<platform::RegistryKey> inner,
        std::string path)
        : owner_(owner), inner_(std::move(inner)), path_(std::move(path)) {}
    platform::ErrorCode ReadValue(const std::string& name,
                                  platform::RegistryValue* value) override {
      return inner_->ReadValue(name, value);
    }
    platform::ErrorCode WriteValue(
        const std::string& name,
        const platform::RegistryValue& value) override {
      owner_.log_.Add("reg set " + path_ + "\\" + name + " " + Show(value));
      if (path_ == owner_.failing_key) return platform::kErrorAccessDenied;
      return inner_->WriteValue(name, value);
    }
    platform::ErrorCode DeleteValue(const std::string& name) override {
      owner_.log_.Add("reg delete-value " + path_ + "\\" + name);
      return inner_->DeleteValue(name);
    }
    platform::ErrorCode ValueNames(std::vector<std::string>* names) override {
      return inner_->ValueNames(names);
    }
    platform::ErrorCode SubkeyNames(std::vector<std::string>* names) override {
      return inner_->SubkeyNames(names);
    }

   private:
    static std::string Show(const platform::RegistryValue& value) {
      switch (value.type) {
        case platform::ValueType::kString:
          return "REG_SZ " + value.Text() +
                 (value.data.size() == value.Text().size() + 1 ? ""
                                                               : " (no NUL)");
        case platform::ValueType::kDword:
          return "REG_DWORD " + std::to_string(value.Dword());
        default:
          return "type " + std::to_string(static_cast<int>(value.type));
      }
    }
    RecordingRegistry& owner_;
    std::unique_ptr<platform::RegistryKey> inner_;
    std::string path_;
  };

  platform::Registry& inner_;
  CallLog& log_;
};

// Files in memory, by their exact paths.
class MemoryFiles : public platform::Files {
 public:
  struct File {
    std::string content;
    platform::FileProtection protection = platform::FileProtection::kInherited;
  };
  std::map<std::string, File> files;
  platform::ErrorCode write_error = platform::kSuccess;
  CallLog* log = nullptr;

  bool Exists(const std::string& path) override { return files.count(path); }
  platform::ErrorCode Delete(const std::string& path) override {
    Record(log, "file delete " + path);
    return files.erase(path) ? platform::kSuccess
                             : platform::kErrorFileNotFound;
  }
  platform::ErrorCode Copy(const std::string& from, const std::string& to,
                           bool fail_if_exists) override {
    Record(log, "file copy " + from + " -> " + to +
                    (fail_if_exists ? " fail-if-exists" : " overwrite"));
    auto source = files.find(from);
    if (source == files.end()) return platform::kErrorFileNotFound;
    if (fail_if_exists && files.count(to)) return platform::kErrorFileExists;
    files[to] = source->second;
    return platform::kSuccess;
  }
  platform::ErrorCode WriteTextFile(
      const std::string& path, const std::string& content,
      platform::FileProtection protection) override {
    Record(log,
           "file write " + path +
               (protection ==
                        platform::FileProtection::kAdministratorsAndSystemOnly
                    ? " admins-only"
                    : " inherited"));
    if (write_error != platform::kSuccess) return write_error;
    files[path] = {content, protection};
    return platform::kSuccess;
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.content;
  }
  bool InUse(const std::string&) override { return false; }
  std::optional<std::uint64_t> Size(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.content.size();
  }
  std::optional<platform::FileFacts> Facts(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return platform::FileFacts{0, std::hash<std::string>{}(path),
                               it->second.content.size(), 0};
  }
  bool IsReadOnly(const std::string&) override { return false; }
  platform::ErrorCode SetReadOnly(const std::string&, bool) override {
    return platform::kSuccess;
  }
  platform::ErrorCode Replace(const std::string& replacement,
                              const std::string& target) override {
    auto it = files.find(replacement);
    if (it == files.end()) return platform::kErrorFileNotFound;
    files[target] = it->second;
    files.erase(replacement);
    return platform::kSuccess;
  }
  platform::ErrorCode CreateFolder(const std::string&) override {
    return platform::kSuccess;
  }
  platform::ErrorCode MoveNew(const std::string& from,
                              const std::string& to) override {
    if (files.count(to)) return platform::kErrorAlreadyExists;
    return Replace(from, to);
  }
  bool IsFolder(const std::string&) override { return false; }
};

// An application whose message loop a test drives: Run fires the timers
// that are set, earliest deadline first, until the quit request.
class ScriptedApplication : public platform::Application {
 public:
  struct Timer {
    std::uint32_t interval_ms;
    std::function<void()> tick;
  };
  std::map<TimerId, Timer> timers;
  std::string title;
  bool terminated = false;
  bool ran = false;
  std::uint64_t now_ms = 0;
  platform::Size screen{1280, 1024};
  CallLog* log = nullptr;

  void SetTitle(const std::string& text) override { title = text; }
  std::string Title() override { return title; }
  void Terminate() override {
    Record(log, "app terminate");
    terminated = true;
  }
  bool Terminated() override { return terminated; }
  void Run() override {
    Record(log, "app run");
    ran = true;
    std::map<TimerId, std::uint64_t> due;
    for (int ticks = 0; !terminated && ticks < 100; ++ticks) {
      if (timers.empty()) return;  // nothing would ever wake the loop
      for (const auto& [id, timer] : timers) {
        if (!due.count(id)) due[id] = now_ms + timer.interval_ms;
      }
      auto next = due.begin();
      for (auto it = due.begin(); it != due.end(); ++it) {
        if (it->second < next->second) next = it;
      }
      const TimerId id = next->first;
      now_ms = next->second;
      due.erase(next);
      if (timers.count(id)) {
        Record(log, "app tick at " + std::to_string(now_ms));
        timers.at(id).tick();
      }
    }
  }
  void ProcessMessages() override { Record(log, "app process-messages"); }
  void WaitForMessages(std::uint32_t) override {}
  void Post(std::function<void()> call) override { call(); }
  TimerId SetTimer(std::uint32_t interval_ms,
                   std::function<void()> tick) override {
    Record(log, "app set-timer " + std::to_string(interval_ms));
    timers[++last_id_] = {interval_ms, std::move(tick)};
    return last_id_;
  }
  void KillTimer(TimerId timer) override {
    Record(log, "app kill-timer");
    timers.erase(timer);
  }
  std::uint64_t TickCount() override { return now_ms; }
  void RestoreApplication() override {}
  bool ApplicationWindowVisible() override { return false; }
  void HideApplicationWindow() override {}
  void ForegroundApplicationWindow() override {}
  int AddApplicationHook(MessageHook) override { return 1; }
  void RemoveApplicationHook(int) override {}
  platform::Size ScreenSize() override { return screen; }
  std::optional<platform::Point> CursorPos() override {
    return platform::Point{};
  }

 private:
  TimerId last_id_ = 0;
};

class RecordingBalloon : public setup::NoticeBalloon {
 public:
  explicit RecordingBalloon(CallLog& log) : log_(log) {}
  void Show(const setup::BalloonNotice& notice) override {
    std::string lines;
    for (const std::string& line : notice.lines) {
      lines += (lines.empty() ? "" : "/") + line;
    }
    log_.Add("balloon " + notice.title + "|" + lines + "|" +
             std::to_string(notice.x) + "," + std::to_string(notice.y) + "|" +
             std::to_string(notice.duration_seconds) + "s|position " +
             std::to_string(static_cast<int>(notice.position)) + "|kind " +
             std::to_string(static_cast<int>(notice.kind)));
  }

 private:
  CallLog& log_;
};

// FakeSystem whose redirection switch also goes into the call log.
class LoggingSystem : public FakeSystem {
 public:
  CallLog* log = nullptr;
  bool CallWow64DisableFsRedirection(platform::EntryPoint entry,
                                     void** old_value) override {
    Record(log, "system redirection off");
    return FakeSystem::CallWow64DisableFsRedirection(entry, old_value);
  }
  bool CallWow64RevertFsRedirection(platform::EntryPoint entry,
                                    void* old_value) override {
    Record(log, "system redirection on");
    return FakeSystem::CallWow64RevertFsRedirection(entry, old_value);
  }
};

// The Windows the setup program finds, by family.
enum class TestWindows { kSeven, kSevenX64, kNt4, k98 };

class SetupWorld {
 public:
  explicit SetupWorld(TestWindows windows = TestWindows::kSeven) {
    files.log = &log;
    spooler.log = &log;
    shell.log = &log;
    processes.log = &log;
    application.log = &log;
    system.log = &log;
    system.environment["windir"] = "C:\\WINDOWS";
    system.program_path = "C:\\Setup\\plumsetup.exe";
    Become(windows);
  }

  void Become(TestWindows windows) {
    using platform::PlatformId;
    using platform::ProductType;
    libraries.exports.clear();
    switch (windows) {
      case TestWindows::kSeven:
      case TestWindows::kSevenX64:
        system.version = platform::VersionInfo{
            PlatformId::kNt,          6, 1, 7601, "Service Pack 1",
            ProductType::kWorkstation};
        libraries.exports["kernel32.dll"] = {"IsWow64Process",
                                             "Wow64DisableWow64FsRedirection",
                                             "Wow64RevertWow64FsRedirection"};
        system.is_wow64 = windows == TestWindows::kSevenX64;
        spooler.caller_environment = "Windows NT x86";
        break;
      case TestWindows::kNt4:
        system.version = platform::VersionInfo{
            PlatformId::kNt,          4, 0, 1381, "Service Pack 6a",
            ProductType::kWorkstation};
        libraries.exports["kernel32.dll"] = {};
        spooler.caller_environment = "Windows NT x86";
        break;
      case TestWindows::k98:
        system.version = platform::VersionInfo{
            PlatformId::kWindows9x,    4, 10, 0x040A08AE, " A ",
            ProductType::kNotAvailable};
        libraries.exports["kernel32.dll"] = {};
        spooler.caller_environment = "Windows 4.0";
        break;
    }
  }

  setup::SetupServices Services() {
    return {recording_registry, files,       system,      spooler, shell,
            processes,          application, system_utils};
  }

  std::unique_ptr<setup::NoticeBalloon> Balloon() {
    return std::make_unique<RecordingBalloon>(log);
  }

  // A registry value's text, or nullopt when it is missing.
  std::optional<std::string> Value(platform::RootKey root,
                                   const std::string& path,
                                   const std::string& name) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.OpenKey(root, path, false, &key) != platform::kSuccess) {
      return std::nullopt;
    }
    platform::RegistryValue value;
    if (key->ReadValue(name, &value) != platform::kSuccess) return std::nullopt;
    return value.type == platform::ValueType::kDword
               ? std::to_string(value.Dword())
               : value.Text();
  }
  bool KeyExists(platform::RootKey root, const std::string& path) {
    std::unique_ptr<platform::RegistryKey> key;
    return registry.OpenKey(root, path, false, &key) == platform::kSuccess;
  }
  void SetValue(platform::RootKey root, const std::string& path,
                const std::string& name, const std::string& text) {
    std::unique_ptr<platform::RegistryKey> key;
    registry.OpenKey(root, path, true, &key);
    key->WriteString(name, text);
  }

  CallLog log;
  host::MemoryRegistry registry;
  RecordingRegistry recording_registry{registry, log};
  MemoryFiles files;
  LoggingSystem system;
  FakeLibraries libraries;
  ModuleList modules{libraries};
  SystemUtils system_utils{system, modules};
  FakeSpooler spooler;
  FakeShell shell;
  FakeProcesses processes;
  ScriptedApplication application;
  FakeUserInterface ui;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_SETUP_WORLD_H_
