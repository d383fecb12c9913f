// Auto-save in the menu: loading its settings, the "Save Automatically..."
// item, and the one report of a folder that cannot be used.
#include "common/application_error.h"
#include "monitor/main_form.h"

namespace plumeta {

void TMain::LoadAutoSaveSettings() {
  std::vector<std::string> problems;
  auto_save_ =
      ReadAutoSaveSettings(*platform_.registry, *platform_.locale, &problems);
  if (widgets::TMenuItem* item = popup_menu1_.FindItem("SaveAutomatically1")) {
    item->SetVisible(!auto_save_.locked);
    item->SetChecked(!auto_save_.user_folder.empty());
  }
  for (const std::string& problem : problems) {
    ShowErrorBox(*platform_.user_interface, kMonitorTitle, problem);
  }
  reported_folder_.reset();
  AutoSaveFolder();
}

std::string TMain::AutoSaveFolder() {
  const std::string& folder = auto_save_.folder;
  if (folder.empty()) return "";
  const std::optional<std::string> problem =
      FolderProblem(*platform_.files, folder);
  if (!problem) {
    reported_folder_.reset();
    return folder;
  }
  if (reported_folder_ != folder) {
    reported_folder_ = folder;
    ShowErrorBox(*platform_.user_interface, kMonitorTitle,
                 *problem + "\r\nThe save dialog asks where each PDF goes.");
  }
  return "";
}

// Empty turns auto-save off; Cancel gives the folder back, which changes
// nothing. A folder that cannot be used is refused and the old one stays.
void TMain::SaveAutomatically1Click() {
  if (auto_save_.locked) return;
  const std::string typed = platform_.dialogs->InputBox(
      "Save Automatically",
      "Save each PDF in this folder (leave empty to be asked each time): ",
      auto_save_.user_folder);
  const std::string folder = TidyFolder(typed, *platform_.locale);
  if (folder == auto_save_.user_folder) return;
  if (!folder.empty()) {
    if (const std::optional<std::string> problem =
            FolderProblem(*platform_.files, folder)) {
      ShowErrorBox(*platform_.user_interface, kMonitorTitle, *problem);
      return;
    }
  }
  StoreAutoSaveFolder(*platform_.registry, folder);
  LoadAutoSaveSettings();
}

}  // namespace plumeta
