// The tray monitor's main window on fakes: a Platform whose parts a test can
// prepare and inspect, with the in-memory registry of the host stand-ins, and
// the widgets' fakes of the notification area, balloon windows and top-level
// windows.
#ifndef TESTS_UNIT_SUPPORT_MONITOR_TEST_BED_H_
#define TESTS_UNIT_SUPPORT_MONITOR_TEST_BED_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "monitor/conversion_settings.h"
#include "monitor/main_form.h"
#include "platform/host/registry/memory_registry.h"
#include "platform/platform.h"
#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/fake_dialogs.h"
#include "tests/unit/support/fake_files.h"
#include "tests/unit/support/fake_forms.h"
#include "tests/unit/support/fake_libraries.h"
#include "tests/unit/support/fake_locale.h"
#include "tests/unit/support/fake_profile.h"
#include "tests/unit/support/fake_random.h"
#include "tests/unit/support/fake_shell.h"
#include "tests/unit/support/fake_spooler.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/fake_user_interface.h"
#include "tests/unit/support/fake_worker_threads.h"
#include "tests/unit/support/widget_fakes.h"
#include "widgets/balloon.h"

namespace plumeta::testing {

inline constexpr char kResponseFile[] = "C:\\WINDOWS\\system32\\plum.rsp";
inline constexpr char kRunKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class MonitorTestBed {
 public:
  MonitorTestBed() {
    registry = Own(&platform.registry, new host::MemoryRegistry);
    files = Own(&platform.files, new FakeFiles);
    files->log = &file_log;
    system = Own(&platform.system, new FakeSystem);
    libraries = Own(&platform.libraries, new FakeLibraries);
    ui = Own(&platform.user_interface, new FakeUserInterface);
    application = Own(&platform.application, new FakeApplication);
    dialogs = Own(&platform.dialogs, new FakeDialogs);
    forms = Own(&platform.forms, new FakeForms);
    random = Own(&platform.random, new FakeRandom);
    spooler = Own(&platform.spooler, new FakeSpooler);
    shell = Own(&platform.shell, new FakeShell);
    locale = Own(&platform.locale, new FakeLocale);
    profile = Own(&platform.profile, new FakeProfile);
    threads = Own(&platform.threads, new FakeWorkerThreads);
    system->environment["windir"] = "C:\\WINDOWS";
    files->wow64_redirection_on = [system = system] {
      return system->is_wow64 && system->redirection_on;
    };
    libraries->exports["kernel32.dll"] = {"IsWow64Process",
                                          "Wow64DisableWow64FsRedirection",
                                          "Wow64RevertWow64FsRedirection"};
  }
  // Balloons outlive their control; none may outlive the test.
  ~MonitorTestBed() { widgets::TBalloon::FreeAll(); }

  // A registry value under the settings key, as a string or any type.
  void Store(const std::string& name, const std::string& text) {
    StoreValue(name, platform::RegistryValue::String(text));
  }
  void StoreValue(const std::string& name, const platform::RegistryValue& value,
                  platform::RootKey root = platform::RootKey::kCurrentUser) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(registry->OpenKey(root, kSettingsKey, true, &key),
              platform::kSuccess);
    ASSERT_EQ(key->WriteValue(name, value), platform::kSuccess);
  }
  // The stored text; "<missing>" when there is no such value.
  std::string Stored(platform::RootKey root, const std::string& key_path,
                     const std::string& name) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry->OpenKey(root, key_path, false, &key) != platform::kSuccess) {
      return "<missing>";
    }
    platform::RegistryValue value;
    if (key->ReadValue(name, &value) != platform::kSuccess) return "<missing>";
    return value.Text();
  }
  std::string Stored(const std::string& name) {
    return Stored(platform::RootKey::kCurrentUser, kSettingsKey, name);
  }

  std::string ResponseFile() {
    auto it = files->files.find(kResponseFile);
    return it == files->files.end() ? "<missing>" : it->second;
  }
  // How many times the file was put in place.
  int ResponseFileWrites() {
    int writes = 0;
    for (const auto& entry : file_log.calls()) {
      if (entry == std::string("file replace ") + kResponseFile + ".new -> " +
                       kResponseFile) {
        ++writes;
      }
    }
    return writes;
  }

  std::unique_ptr<TMain> NewMain(std::vector<std::string> arguments = {}) {
    return std::make_unique<TMain>(
        platform,
        TrayPlatform{notification_area, balloon_windows, top_level_windows},
        std::move(arguments));
  }
  // A main window that has run its start-up sequence.
  std::unique_ptr<TMain> Start(std::vector<std::string> arguments = {}) {
    auto main = NewMain(std::move(arguments));
    main->Create();
    return main;
  }
  FakeFormWindow& window() { return *forms->last; }
  // A mouse message on the tray icon, as the notification area sends it.
  void TrayNotify(std::intptr_t mouse_message) {
    ASSERT_FALSE(notification_area.calls.empty());
    notification_area.procedure(widgets::TPlumTrayIcon::kCallbackMessage,
                                notification_area.calls.back().record.id,
                                mouse_message);
  }
  // The menu as the platform is asked to show it, choosing nothing.
  std::vector<platform::MenuItemView> ShownMenu(TMain& main) {
    main.PopupMenuAt({0, 0});
    return dialogs->menus.back().items;
  }
  // An item of the shown menu by name, at any depth.
  platform::MenuItemView ShownItem(TMain& main, const std::string& name) {
    std::vector<platform::MenuItemView> level = ShownMenu(main);
    for (std::size_t i = 0; i < level.size(); ++i) {
      if (level[i].name == name) return level[i];
      level.insert(level.end(), level[i].items.begin(), level[i].items.end());
    }
    ADD_FAILURE() << "no menu item " << name;
    return {};
  }

  platform::Platform platform;
  host::MemoryRegistry* registry;
  FakeFiles* files;
  CallLog file_log;  // what `files` changed
  FakeSystem* system;
  FakeLibraries* libraries;
  FakeUserInterface* ui;
  FakeApplication* application;
  FakeDialogs* dialogs;
  FakeForms* forms;
  FakeRandom* random;
  FakeSpooler* spooler;
  FakeShell* shell;
  FakeLocale* locale;
  FakeProfile* profile;
  FakeWorkerThreads* threads;
  CallLog widget_log;
  FakeNotificationArea notification_area{widget_log};
  FakeBalloonWindows balloon_windows;
  FakeTopLevelWindows top_level_windows{widget_log};

 private:
  template <typename Interface, typename Fake>
  static Fake* Own(std::unique_ptr<Interface>* slot, Fake* fake) {
    slot->reset(fake);
    return fake;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_MONITOR_TEST_BED_H_
