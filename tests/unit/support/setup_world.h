// Everything the setup program reaches, as fakes that write one call log:
// the in-memory registry behind a recording decorator, the shared fakes of
// files, system, spooler, shell, processes, application and scheduled tasks,
// and a balloon that only records.
#ifndef TESTS_UNIT_SUPPORT_SETUP_WORLD_H_
#define TESTS_UNIT_SUPPORT_SETUP_WORLD_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/module_list.h"
#include "common/system_utils.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/registry.h"
#include "setup/notice_balloon.h"
#include "setup/setup_form.h"
#include "tests/unit/support/call_log.h"
#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/fake_files.h"
#include "tests/unit/support/fake_libraries.h"
#include "tests/unit/support/fake_processes.h"
#include "tests/unit/support/fake_shell.h"
#include "tests/unit/support/fake_spooler.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/fake_task_scheduler.h"
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

// The Windows the setup program finds, by family.
enum class TestWindows { kSeven, kSevenX64, kNt4, k98 };

class SetupWorld {
 public:
  explicit SetupWorld(TestWindows windows = TestWindows::kSeven) {
    files.log = &log;
    spooler.log = &log;
    shell.log = &log;
    processes.log = &log;
    application.screen = {1280, 1024};
    system.log = &log;
    task_scheduler.log = &log;
    files.wow64_redirection_on = [this] {
      return system.is_wow64 && system.redirection_on;
    };
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
    return {recording_registry, files,       system,       spooler,       shell,
            processes,          application, system_utils, task_scheduler};
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
  FakeFiles files;
  FakeSystem system;
  FakeLibraries libraries;
  ModuleList modules{libraries};
  SystemUtils system_utils{system, modules};
  FakeSpooler spooler;
  FakeShell shell;
  FakeProcesses processes;
  FakeApplication application{log};
  FakeUserInterface ui;
  FakeTaskScheduler task_scheduler;
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_SETUP_WORLD_H_
