// Auto-save: the folder each PDF goes to without a save dialog, and the
// template its name is made from. The user keeps them beside the conversion
// settings; the administrator's copy under HKEY_LOCAL_MACHINE wins.
#ifndef MONITOR_AUTO_SAVE_SETTINGS_H_
#define MONITOR_AUTO_SAVE_SETTINGS_H_

#include <optional>
#include <string>
#include <vector>

#include "common/system_names.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/registry.h"

namespace plumeta {

struct AutoSaveSettings {
  // Empty: the save dialog asks for each PDF.
  std::string folder;
  std::string file_name_template = kDefaultFileNameTemplate;
  // The administrator's folder value exists: the user cannot change it.
  bool locked = false;
  // The user's own folder, as the menu shows and changes it.
  std::string user_folder;
  bool operator==(const AutoSaveSettings&) const = default;
};

// Reads AutoSaveFolder and FileNameTemplate from the user's key; a value that
// exists in HKEY_LOCAL_MACHINE's copy of the key is taken from there instead.
// An empty template is the default one. A value that cannot be used reads
// as missing (so the save dialog asks), and the text of its error goes to
// `problems` in the words of ReadConversionSettings. The administrator's
// folder that cannot be read still locks the menu. A key that cannot be
// opened counts as holding nothing.
// The folder is tidied (TidyFolder).
AutoSaveSettings ReadAutoSaveSettings(platform::Registry& registry,
                                      platform::Locale& locale,
                                      std::vector<std::string>* problems);

// Writes the user's AutoSaveFolder; a failure raises RegistryError "Failed to
// set data for 'AutoSaveFolder'".
void StoreAutoSaveFolder(platform::Registry& registry,
                         const std::string& folder);

// What a user typed as a folder: blanks and quotes around it dropped, and
// backslashes at its end but the one of a drive's root ("C:\"). Read in the
// user's code page: the second byte of a two-byte character stays.
std::string TidyFolder(const std::string& typed, platform::Locale& locale);

// nullopt when PDFs can be saved in `folder`; otherwise the error box's text:
// a path that is not a full one (X:\... or \\server\share\...), a folder that
// does not exist, or one so deep that a name no longer fits.
std::optional<std::string> FolderProblem(platform::Files& files,
                                         const std::string& folder);

}  // namespace plumeta

#endif  // MONITOR_AUTO_SAVE_SETTINGS_H_
