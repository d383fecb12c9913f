#include "platform/host/box/setup_source_files.h"

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"

namespace plumeta::host {

namespace fs = std::filesystem;

std::vector<std::string> SetupSourceFiles(const std::string& windows_folder,
                                          bool is_64_bit) {
  const std::string system32 = windows_folder + "\\system32";
  std::vector<std::string> files;
  for (const char* name :
       {"AdobePS5.dll", "AdobePS5.ntf", "AdobePSu.dll", "ADOBEPSU.HLP",
        "defprtr2.ppd", "ADIST5.PPD", "ICONLIB.DLL", "PSMON.DLL"}) {
    files.push_back(system32 + "\\Port\\NT\\" + name);
  }
  for (const char* name :
       {"adfonts.mfm", "ADIST5.PPD", "ADOBEPS4.DRV", "ADOBEPS4.HLP",
        "defprtr2.ppd", "ICONLIB.DLL", "PSMON.DLL"}) {
    files.push_back(system32 + "\\Port\\Me\\" + name);
  }
  files.push_back(system32 + "\\gswin32c.exe");
  files.push_back(system32 + "\\gsdll32.dll");
  std::vector<std::string> driver_folders = {system32 +
                                             "\\spool\\drivers\\w32x86\\3"};
  if (is_64_bit)
    driver_folders.push_back(system32 + "\\spool\\drivers\\x64\\3");
  for (const std::string& folder : driver_folders) {
    for (const char* name : {"pscript5.dll", "ps5ui.dll", "plumeta.ppd",
                             "pscript.hlp", "pscript.ntf"}) {
      files.push_back(folder + "\\" + name);
    }
  }
  return files;
}

bool ProvisionSetupSourceFiles(const std::string& box_folder,
                               std::string* error) {
  std::optional<SystemFacts> facts = LoadSystemFacts(box_folder, error);
  if (!facts) return false;
  const BoxPaths paths(box_folder);
  for (const std::string& file :
       SetupSourceFiles(facts->windows_folder, facts->is_wow64)) {
    std::optional<std::string> linux_path = paths.ToLinux(file);
    if (!linux_path) {
      *error = "no place in the box for " + file;
      return false;
    }
    std::error_code exists_error;
    if (fs::exists(*linux_path, exists_error)) continue;
    fs::create_directories(fs::path(*linux_path).parent_path(), exists_error);
    std::ofstream out(*linux_path, std::ios::binary | std::ios::trunc);
    out << "Plumeta box stand-in for " << file << "\r\n";
    if (!out.flush()) {
      *error = "cannot write " + *linux_path;
      return false;
    }
  }
  return true;
}

}  // namespace plumeta::host
