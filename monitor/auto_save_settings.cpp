#include "monitor/auto_save_settings.h"

#include <memory>

#include "common/errors.h"
#include "monitor/file_name_template.h"

namespace plumeta {
namespace {

using platform::RootKey;

enum class Read { kMissing, kText, kProblem };

// One string value of an open key (or of none).
Read ReadText(platform::RegistryKey* key, const char* name, std::string* text,
              std::vector<std::string>* problems) {
  if (key == nullptr) return Read::kMissing;
  platform::RegistryValue value;
  const platform::ErrorCode code = key->ReadValue(name, &value);
  if (code == platform::kErrorFileNotFound) return Read::kMissing;
  if (code != platform::kSuccess) {
    problems->push_back(RegistryError::FailedToGetData(name).what());
    return Read::kProblem;
  }
  if (value.type != platform::ValueType::kString &&
      value.type != platform::ValueType::kExpandString) {
    problems->push_back(RegistryError::InvalidDataType(name).what());
    return Read::kProblem;
  }
  *text = value.Text();
  return Read::kText;
}

bool IsFullPath(const std::string& path) {
  const bool drive = path.size() >= 3 &&
                     ((path[0] >= 'A' && path[0] <= 'Z') ||
                      (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && path[2] == '\\';
  const bool share = path.size() > 2 && path.compare(0, 2, "\\\\") == 0;
  return drive || share;
}

}  // namespace

AutoSaveSettings ReadAutoSaveSettings(platform::Registry& registry,
                                      platform::Locale& locale,
                                      std::vector<std::string>* problems) {
  // A key that cannot be opened holds no values here: the user's key is the
  // conversion settings' too, whose loading reports it. HKEY_LOCAL_MACHINE's
  // is opened to read only, so that the administrator's lock holds for users
  // without administrator rights too.
  std::unique_ptr<platform::RegistryKey> user;
  std::unique_ptr<platform::RegistryKey> machine;
  if (registry.OpenKey(RootKey::kCurrentUser, kSettingsKey, /*create=*/true,
                       &user) != platform::kSuccess) {
    user.reset();
  }
  if (registry.OpenKeyToRead(RootKey::kLocalMachine, kSettingsKey, &machine) !=
      platform::kSuccess) {
    machine.reset();
  }

  AutoSaveSettings settings;
  ReadText(user.get(), kAutoSaveFolderValue, &settings.user_folder, problems);
  std::string admin_folder;
  switch (
      ReadText(machine.get(), kAutoSaveFolderValue, &admin_folder, problems)) {
    case Read::kMissing:
      settings.folder = settings.user_folder;
      break;
    case Read::kText:
      settings.folder = admin_folder;
      settings.locked = true;
      break;
    case Read::kProblem:
      settings.locked = true;
      break;
  }
  std::string text;
  if (ReadText(machine.get(), kFileNameTemplateValue, &text, problems) ==
          Read::kMissing &&
      ReadText(user.get(), kFileNameTemplateValue, &text, problems) !=
          Read::kText) {
    text.clear();
  }
  if (!text.empty()) settings.file_name_template = text;
  settings.folder = TidyFolder(settings.folder, locale);
  return settings;
}

void StoreAutoSaveFolder(platform::Registry& registry,
                         const std::string& folder) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(RootKey::kCurrentUser, kSettingsKey, /*create=*/true,
                       &key) != platform::kSuccess ||
      key->WriteString(kAutoSaveFolderValue, folder) != platform::kSuccess) {
    throw RegistryError::FailedToSetData(kAutoSaveFolderValue);
  }
}

std::string TidyFolder(const std::string& typed, platform::Locale& locale) {
  std::size_t begin = typed.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  std::size_t end = typed.find_last_not_of(" \t") + 1;
  if (end - begin >= 2 && typed[begin] == '"' && typed[end - 1] == '"') {
    ++begin;
    --end;
  }
  const std::string folder = typed.substr(begin, end - begin);
  // Where the folder ends without the backslashes after it.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < folder.size();) {
    const std::size_t width =
        locale.IsLeadByte(folder[i]) && i + 1 < folder.size() ? 2 : 1;
    i += width;
    if (width == 2 || folder[i - 1] != '\\' || i <= 1 ||
        (i == 3 && folder[1] == ':')) {
      kept = i;
    }
  }
  return folder.substr(0, kept);
}

std::optional<std::string> FolderProblem(platform::Files& files,
                                         const std::string& folder) {
  const std::string start =
      "PDFs cannot be saved automatically in '" + folder + "': ";
  if (!IsFullPath(folder)) {
    return start + "give a full path, such as C:\\PDF.";
  }
  if (!FolderLeavesRoom(folder)) return start + "the path is too long.";
  if (!files.IsFolder(folder)) return start + "there is no such folder.";
  return std::nullopt;
}

}  // namespace plumeta
