// plumbox: makes and inspects the host stand-in box, the small virtual
// Windows in one folder that the host programs run against.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/setup_source_files.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/registry/file_hive_store.h"
#include "tools/plumbox/reg_command.h"

namespace plumeta::plumbox {
namespace {

constexpr int kBadArguments = 2;

void PrintUsage(std::ostream& out) {
  std::string names;
  for (const std::string& name : host::WindowsNames()) names += " " + name;
  out << "plumbox: the host stand-in box, a small virtual Windows in one "
         "folder.\n\n"
         "plumbox init [--windows NAME] [DIR]\n"
         "    Makes a fresh box in DIR for the Windows NAME:\n"
         "   "
      << names << "\n    (default " << host::kDefaultWindows
      << "; 7x64 is 64-bit Windows 7 running the programs under WOW64).\n"
         "    A box already in DIR is replaced whole; a folder holding "
         "anything else is refused.\n\n"
      << kRegUsage
      << "\nplumbox path [-u] WINDOWS_PATH...\n"
         "    Prints the Linux path of each Windows path in the box, as "
         "winepath -u does\n"
         "    (the native view: no WOW64 redirection of system32).\n"
         "plumbox path -w LINUX_PATH...\n"
         "    Prints the Windows path of each Linux path: on a drive of the "
         "box, else Z:.\n\n"
         "The box is the folder $"
      << host::kBoxVariable << ", else " << host::DefaultBoxFolder()
      << "\n(init takes DIR instead). Exit status: 0 done; 1 a reg operation "
         "failed,\nas reg.exe's; 2 bad arguments or no box.\n";
}

// The box's Ghostscript console program (tools/plumgs): beside plumbox, in
// the build's plumgs folder, or where this plumbox was built to find it.
std::optional<std::filesystem::path> FindGhostscriptStandIn() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  std::vector<fs::path> candidates;
  if (!error) {
    candidates.push_back(self.parent_path() / "plumgs");
    candidates.push_back(self.parent_path().parent_path() / "plumgs" /
                         "plumgs");
  }
#ifdef PLUMGS_PATH
  candidates.push_back(PLUMGS_PATH);
#endif
  for (const fs::path& candidate : candidates) {
    if (fs::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

// Copies it to %windir%\system32\gswin32c.exe, where setup's port runs it.
bool PlaceGhostscriptStandIn(const std::string& box, std::string* error) {
  namespace fs = std::filesystem;
  std::optional<host::SystemFacts> facts = host::LoadSystemFacts(box, error);
  if (!facts) return false;
  std::optional<std::string> target = host::BoxPaths(box).ToLinux(
      facts->windows_folder + "\\system32\\gswin32c.exe");
  std::optional<fs::path> stand_in = FindGhostscriptStandIn();
  if (!stand_in) {
    std::cerr << "plumbox: warning: no plumgs program found; the box's "
                 "gswin32c.exe only stands in as a file\n";
    return true;
  }
  std::error_code fault;
  fs::copy_file(*stand_in, *target, fs::copy_options::overwrite_existing,
                fault);
  if (!fault) {
    fs::permissions(*target,
                    fs::perms::owner_all | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read |
                        fs::perms::others_exec,
                    fault);
  }
  if (fault) {
    *error = "cannot put " + stand_in->string() + " at " + *target + ": " +
             fault.message();
    return false;
  }
  return true;
}

int BadArguments(const std::string& why) {
  std::cerr << "plumbox: " << why << "\nTry 'plumbox --help'.\n";
  return kBadArguments;
}

int Init(const std::vector<std::string>& arguments) {
  std::string windows = host::kDefaultWindows;
  std::optional<std::string> folder;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--windows" || argument.rfind("--windows=", 0) == 0) {
      if (argument == "--windows") {
        if (i + 1 >= arguments.size()) {
          return BadArguments("--windows needs a Windows name");
        }
        windows = arguments[++i];
      } else {
        windows = argument.substr(10);
      }
    } else if (!argument.empty() && argument[0] == '-') {
      return BadArguments("init does not know " + argument);
    } else if (folder) {
      return BadArguments("init takes one folder, not also " + argument);
    } else {
      folder = argument;
    }
  }
  std::optional<host::WindowsEdition> edition =
      host::FindWindowsEdition(windows);
  if (!edition) {
    std::string names;
    for (const std::string& name : host::WindowsNames()) names += " " + name;
    return BadArguments("no Windows is called \"" + windows +
                        "\"; the names are" + names);
  }
  std::string box = folder ? *folder : host::BoxFolder();
  if (box.empty()) return BadArguments("the box folder is empty");
  std::string error;
  if (!host::CreateBox(box, *edition, &error) ||
      !PlaceGhostscriptStandIn(box, &error) ||
      !host::ProvisionSetupSourceFiles(box, &error)) {
    std::cerr << "plumbox: " << error << "\n";
    return kBadArguments;
  }
  std::cout << "A box for Windows " << edition->name << " ("
            << edition->product_name << ") is ready in " << box << "\n";
  return 0;
}

// The box for reg and path: $PLUMETA_BOX or the default, which must exist.
std::optional<std::string> ExistingBox() {
  std::string box = host::BoxFolder();
  std::string error;
  if (!host::LoadSystemFacts(box, &error)) {
    std::cerr << "plumbox: " << error << "\n";
    return std::nullopt;
  }
  return box;
}

int Reg(const std::vector<std::string>& arguments) {
  std::optional<std::string> box = ExistingBox();
  if (!box) return kBadArguments;
  host::FileHiveStore store(host::RegistryFolder(*box));
  Confirmation confirmation{::isatty(STDIN_FILENO) == 1, &std::cin};
  return RunReg(arguments, store, confirmation, std::cout, std::cerr);
}

int Path(const std::vector<std::string>& arguments) {
  bool to_windows = false;
  std::vector<std::string> paths;
  bool options_done = false;
  for (const std::string& argument : arguments) {
    if (!options_done && argument == "-w") {
      to_windows = true;
    } else if (!options_done && argument == "-u") {
      to_windows = false;
    } else if (!options_done && argument == "--") {
      options_done = true;
    } else if (!options_done && argument.size() > 1 && argument[0] == '-') {
      return BadArguments("path does not know " + argument);
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.empty()) return BadArguments("path needs a path");
  std::optional<std::string> box = ExistingBox();
  if (!box) return kBadArguments;
  host::BoxPaths mapping(*box);
  int status = 0;
  for (const std::string& path : paths) {
    if (to_windows) {
      std::cout << mapping.ToWindows(path) << "\n";
      continue;
    }
    std::optional<std::string> linux_path = mapping.ToLinux(path);
    if (!linux_path) {
      std::cerr << "plumbox: \"" << path
                << "\" is not a Windows path of the box\n";
      status = kBadArguments;
      continue;
    }
    std::cout << *linux_path << "\n";
  }
  return status;
}

int Main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty())
    return BadArguments("name a command: init, reg or path");
  const std::string command = arguments[0];
  arguments.erase(arguments.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  if (command == "init") return Init(arguments);
  if (command == "reg") return Reg(arguments);
  if (command == "path") return Path(arguments);
  return BadArguments("\"" + command +
                      "\" is not a command: init, reg or path");
}

}  // namespace
}  // namespace plumeta::plumbox

int main(int argc, char** argv) { return plumeta::plumbox::Main(argc, argv); }
