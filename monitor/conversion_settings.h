// The conversion settings: six strings kept in the main window, stored under
// the user's ShellExt key, and the PermissionString with its code for
// Ghostscript.
#ifndef MONITOR_CONVERSION_SETTINGS_H_
#define MONITOR_CONVERSION_SETTINGS_H_

#include <array>
#include <string>
#include <vector>

#include "common/system_names.h"
#include "platform/registry.h"

namespace plumeta {

struct ConversionSettings {
  std::string version;
  std::string quality;
  std::string user_password;   // "UPwd"
  std::string owner_password;  // "OPwd"
  std::string resolution;
  std::string permission;  // the PermissionString
  bool operator==(const ConversionSettings&) const = default;
};

// Eight '1's: every permission granted, no encryption.
inline constexpr char kAllPermissions[] = "11111111";
inline constexpr char kNoPermissions[] = "00000000";

// One "PDF Security" item per position of the PermissionString, in menu
// order, with what PermissionCode adds when the position holds '0'.
struct SecurityItem {
  const char* name;
  const char* caption;
  int withheld_value;
};
inline constexpr std::array<SecurityItem, 8> kSecurityItems = {{
    {"Printdocument1", "Print document", 4},
    {"Modifycontentsofdocument1", "Modify contents of document", 8},
    {"Addormodifytextannotations1", "Add or modify text annotations", 32},
    {"Copytextandgraphicsfromdocument1", "Copy text and graphics from document",
     16},
    {"Fillininteraciveformfields1", "Fill in interacive form fields", 256},
    {"Extracttextandgraphics1", "Extract text and graphics", 512},
    {"Assemblethedocument1", "Assemble the document", 1024},
    {"Highqualityprint1", "High quality print", 2048},
}};

// True when position `index` (0-based) withholds its permission. Positions
// beyond the end of a short string count as granted, as the menu has them.
bool PermissionWithheld(const std::string& permission, std::size_t index);

// The decimal code Ghostscript receives negated after "-dPermissions#-":
// 4 plus the value of each withheld position.
std::string PermissionCode(const std::string& permission);

// Reads the six values. A missing value reads as empty. A value that cannot
// be used reads as empty too, so that its default stands for it, and the text
// of its error goes to `problems`: "Invalid data type for '<name>'" for a
// type other than a string, "Failed to get data for '<name>'" when the key or
// the value cannot be read. Once the key cannot be read, that is the one
// problem reported and the values after it read as empty. The names of the
// values that could not be read go to `unread`.
ConversionSettings ReadConversionSettings(
    platform::Registry& registry, std::vector<std::string>* problems,
    std::vector<std::string>* unread = nullptr);

inline constexpr char kDefaultResolution[] = "1200";

// The resolutions Ghostscript's PDF writer takes for every page size: below 2
// its default halftone fails ("rangecheck in setscreen"), and a page of 200
// inches, the largest a PDF holds, fails above about 23900.
inline constexpr int kMinResolution = 2;
inline constexpr int kMaxResolution = 20000;

// Whether `resolution` is a whole number in decimal digits from
// kMinResolution to kMaxResolution, the only text the argument file's
// resolution line may carry.
bool IsResolution(const std::string& resolution);

// Empty Version, Quality, Resolution and Permission take their defaults.
void ApplyDefaults(ConversionSettings& settings);

// Writes the six values in their order; a failed write raises RegistryError
// "Failed to set data for '<name>'". A value named in `unread` that still
// holds what it held in `loaded` is left as it is in the registry: it could
// not be read, and the user did not change it.
void StoreConversionSettings(platform::Registry& registry,
                             const ConversionSettings& settings,
                             const std::vector<std::string>& unread = {},
                             const ConversionSettings& loaded = {});

}  // namespace plumeta

#endif  // MONITOR_CONVERSION_SETTINGS_H_
