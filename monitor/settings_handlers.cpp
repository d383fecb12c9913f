// The conversion settings in the menu: loading them at start and the
// handlers of the settings items.
#include <optional>

#include "common/application_error.h"
#include "common/errors.h"
#include "monitor/main_form.h"

namespace plumeta {

void TMain::LoadConversionSettings() {
  // Values that cannot be read take their defaults, which are then what the
  // menu shows and the file carries; each problem is shown once the file is
  // written. What could not be read is not stored over at close unless the
  // user changes it.
  std::vector<std::string> problems;
  settings_ =
      ReadConversionSettings(*platform_.registry, &problems, &unread_settings_);
  settings_loaded_ = true;
  // A value Ghostscript refuses would fail every job; anything but a number
  // on the resolution line would reach Ghostscript as more than a resolution.
  // The default is stored over it at close. Version and quality must be
  // values the menu offers; a resolution may be any number Ghostscript takes.
  const struct {
    const char* name;
    std::string ConversionSettings::*field;
    bool valid;
  } kChecked[] = {
      {kVersionValue, &ConversionSettings::version,
       MenuOffers(&ConversionSettings::version, settings_.version)},
      {kQualityValue, &ConversionSettings::quality,
       MenuOffers(&ConversionSettings::quality, settings_.quality)},
      {kResolutionValue, &ConversionSettings::resolution,
       IsResolution(settings_.resolution)},
  };
  for (const auto& [name, field, valid] : kChecked) {
    std::string& value = settings_.*field;
    if (!value.empty() && !valid) {
      problems.push_back(RegistryError::InvalidData(name).what());
      value.clear();
    }
  }
  ApplyDefaults(settings_);
  ApplyPermissionString();

  // Each matching item's handler sets its tick and rewrites the file. A
  // failed write is reported once; the menu still gets every tick, and the
  // rest of the start-up runs.
  std::optional<std::string> write_failure;
  bool written = false;
  auto run = [&](const std::function<void()>& write) {
    written = true;
    try {
      write();
    } catch (const PlumetaError& error) {
      if (!write_failure) write_failure = error.what();
    }
  };
  for (const MenuRow& top : MainMenuRows()) {
    if (top.submenu == nullptr || top.submenu->setting == nullptr) continue;
    const MenuSubmenu& submenu = *top.submenu;
    for (const MenuRow& row : submenu.rows) {
      if (row.value == settings_.*submenu.setting) {
        widgets::TMenuItem& item = *popup_menu1_.FindItem(row.name);
        run([&] { ChooseSetting(submenu, row, item); });
        break;
      }
    }
  }
  // Settings that match no item are still the ones the next job must get.
  if (!written) run([this] { WriteResponseFile(); });
  // At close the permission is read back from the menu: compare with that.
  const std::string permission = settings_.permission;
  PermissionStringFromMenu();
  loaded_settings_ = settings_;
  settings_.permission = permission;
  for (const std::string& problem : problems) {
    ShowErrorBox(*platform_.user_interface, kMonitorTitle, problem);
  }
  if (write_failure) {
    ShowErrorBox(*platform_.user_interface, kMonitorTitle, *write_failure);
  }
}

void TMain::ChooseSetting(const MenuSubmenu& submenu, const MenuRow& row,
                          widgets::TMenuItem& sender) {
  sender.SetChecked(true);  // and clears the other items of its group
  settings_.*submenu.setting = row.value;
  WriteResponseFile();
}

void TMain::UserPassword1Click() {
  settings_.user_password = platform_.dialogs->InputBox(
      "Set User Password",
      "Enter the User Password: ", settings_.user_password);
  if (settings_.user_password.empty()) ShowMessage("User password cleared.");
  WriteResponseFile();
}

void TMain::OwnerPassword1Click() {
  settings_.owner_password = platform_.dialogs->InputBox(
      "Set Owner Password",
      "Enter the Owner Password: ", settings_.owner_password);
  if (settings_.owner_password.empty()) ShowMessage("Owner password cleared.");
  WriteResponseFile();
}

void TMain::SecurityItemClick() {
  WriteResponseFile();
  if (!settings_.owner_password.empty() ||
      settings_.permission == kAllPermissions) {
    return;
  }
  settings_.owner_password = platform_.dialogs->InputBox(
      "Owner Password Required",
      "You have set security settings for your PDF document, to enable this "
      "security feature, you should set a owner password for your PDF "
      "document:  ",
      settings_.owner_password);
  // The password entered here belongs in the file now, not at the next
  // change.
  if (!settings_.owner_password.empty()) WriteResponseFile();
}

void TMain::PermissionStringFromMenu() {
  std::string permission = kAllPermissions;
  for (std::size_t i = 0; i < kSecurityItems.size(); ++i) {
    if (!popup_menu1_.FindItem(kSecurityItems[i].name)->Checked()) {
      permission[i] = '0';
    }
  }
  settings_.permission = permission;
}

void TMain::ApplyPermissionString() {
  const std::string& permission = settings_.permission;
  if (permission == kAllPermissions) return;
  for (std::size_t i = kSecurityItems.size(); i-- > 0;) {
    if (PermissionWithheld(permission, i)) {
      popup_menu1_.FindItem(kSecurityItems[i].name)->SetChecked(false);
    }
  }
}

}  // namespace plumeta
