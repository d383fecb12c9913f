#include "platform/host/box/box.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plumeta::host {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

}  // namespace

std::string DefaultBoxFolder() { return HomeFolder() + "/.plumeta/box"; }

std::string BoxFolder() {
  const char* folder = std::getenv(kBoxVariable);
  return folder != nullptr && *folder != '\0' ? folder : DefaultBoxFolder();
}

std::string SystemIniPath(const std::string& box_folder) {
  return box_folder + "/system.ini";
}

std::string RegistryFolder(const std::string& box_folder) {
  return box_folder + "/registry";
}

std::string DriveFolder(const std::string& box_folder, char letter) {
  if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter + 32);
  return box_folder + "/drive_" + letter;
}

std::optional<SystemFacts> LoadSystemFacts(const std::string& box_folder,
                                           std::string* error) {
  std::string path = SystemIniPath(box_folder);
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "there is no box at " + box_folder + " (no " + path +
             "); make one with `plumbox init`";
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  SystemFacts facts;
  std::string fault;
  if (!ParseSystemIni(text.str(), &facts, &fault)) {
    *error = path + " " + fault;
    return std::nullopt;
  }
  return facts;
}

}  // namespace plumeta::host
