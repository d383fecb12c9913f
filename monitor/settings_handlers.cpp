// The conversion settings in the menu: loading them at start and the
// handlers of the settings items.
#include <optional>

#include "common/application_error.h"
#include "common/errors.h"
#include "monitor/main_form.h"

namespace plumeta {
namespace {

const std::vector<const char*> kQualityItems = {"Default1", "Screen1", "Ebook1",
                                                "Print1", "Prepress1"};
const std::vector<const char*> kVersionItems = {"N121", "N131", "N141"};
const std::vector<const char*> kResolutionItems = {
    "N721", "N1441", "N3001", "N6001", "N12001", "N24001", "N36001", "N40001"};

}  // namespace

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
  // The default is stored over it at close.
  const struct {
    const char* name;
    std::string ConversionSettings::*field;
    bool (*valid)(const std::string&);
  } kChecked[] = {
      {kVersionValue, &ConversionSettings::version, IsVersion},
      {kQualityValue, &ConversionSettings::quality, IsQuality},
      {kResolutionValue, &ConversionSettings::resolution, IsResolution},
  };
  for (const auto& [name, field, valid] : kChecked) {
    std::string& value = settings_.*field;
    if (!value.empty() && !valid(value)) {
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
  auto select =
      [&](const std::vector<const char*>& group, const std::string& setting,
          void (TMain::*method)(widgets::TMenuItem&), bool by_version) {
        for (const char* name : group) {
          widgets::TMenuItem& item = *popup_menu1_.FindItem(name);
          const std::string value =
              by_version ? item.Caption().substr(0, 3) : item.Caption();
          if (value == setting) {
            run([&] { (this->*method)(item); });
            return;
          }
        }
      };
  select(kVersionItems, settings_.version, &TMain::N121Click, true);
  select(kQualityItems, settings_.quality, &TMain::Default1Click, false);
  select(kResolutionItems, settings_.resolution, &TMain::N721Click, false);
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

void TMain::CheckOnly(widgets::TMenuItem& sender,
                      const std::vector<const char*>& group) {
  for (const char* name : group) popup_menu1_.FindItem(name)->SetChecked(false);
  sender.SetChecked(true);
}

void TMain::Default1Click(widgets::TMenuItem& sender) {
  CheckOnly(sender, kQualityItems);
  settings_.quality = sender.Caption();
  WriteResponseFile();
}

void TMain::N121Click(widgets::TMenuItem& sender) {
  CheckOnly(sender, kVersionItems);
  settings_.version = sender.Caption().substr(0, 3);
  WriteResponseFile();
}

void TMain::N721Click(widgets::TMenuItem& sender) {
  CheckOnly(sender, kResolutionItems);
  settings_.resolution = sender.Caption();
  WriteResponseFile();
}

void TMain::UserPassword1Click(widgets::TMenuItem&) {
  settings_.user_password = platform_.dialogs->InputBox(
      "Set User Password",
      "Enter the User Password: ", settings_.user_password);
  if (settings_.user_password.empty()) ShowMessage("User password cleared.");
  WriteResponseFile();
}

void TMain::OwnerPassword1Click(widgets::TMenuItem&) {
  settings_.owner_password = platform_.dialogs->InputBox(
      "Set Owner Password",
      "Enter the Owner Password: ", settings_.owner_password);
  if (settings_.owner_password.empty()) ShowMessage("Owner password cleared.");
  WriteResponseFile();
}

// The item has toggled its own check already.
void TMain::SecurityItemClick(widgets::TMenuItem&) {
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

void TMain::Printdocument1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Modifycontentsofdocument1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Addormodifytextannotations1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Copytextandgraphicsfromdocument1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Fillininteraciveformfields1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Extracttextandgraphics1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Assemblethedocument1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
}
void TMain::Highqualityprint1Click(widgets::TMenuItem& sender) {
  SecurityItemClick(sender);
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
