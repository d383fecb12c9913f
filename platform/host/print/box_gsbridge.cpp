#include "platform/host/print/box_gsbridge.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "gsbridge/gsbridge.h"
#include "platform/host/print/ghostscript_command.h"

namespace plumeta::host {
namespace {

std::shared_ptr<BoxProcess> bridge_box;

std::string LowerFileName(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/:");
  std::string file(slash == std::string_view::npos ? name
                                                   : name.substr(slash + 1));
  for (char& c : file) c = static_cast<char>(std::tolower(c));
  return file;
}

std::optional<std::string> ReadLinuxFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int GSBRIDGE_CALL BoxCallGS(const char* library_name, int argc, char** argv) {
  if (!bridge_box || argc < 1 || argv == nullptr) return 0;
  const std::vector<std::string> given(argv + 1, argv + argc);
  GhostscriptCommand command;
  std::string error;
  if (!TranslateGhostscriptArguments(given, bridge_box->paths(), ReadLinuxFile,
                                     &command, &error)) {
    return 0;
  }
  std::vector<std::string> arguments = {argv[0]};
  arguments.insert(arguments.end(), command.arguments.begin(),
                   command.arguments.end());
  std::vector<char*> host_argv;
  for (std::string& argument : arguments) host_argv.push_back(argument.data());
  const std::string library =
      HostGhostscriptLibrary(library_name == nullptr ? "" : library_name);
  return ::CallGS(library.c_str(), static_cast<int>(host_argv.size()),
                  host_argv.data());
}

}  // namespace

void UseBoxForGsBridge(std::shared_ptr<BoxProcess> process) {
  bridge_box = std::move(process);
}

platform::EntryPoint FindGsBridgeEntry(std::string_view name) {
  if (name == "CallGS") {
    return reinterpret_cast<platform::EntryPoint>(&BoxCallGS);
  }
  if (name == "InstallCallBacks") {
    return reinterpret_cast<platform::EntryPoint>(&::InstallCallBacks);
  }
  return nullptr;
}

std::string HostGhostscriptLibrary(std::string_view name) {
  const std::string file = LowerFileName(name);
  if (file == "gsdll32.dll" || file == "gsdll64.dll") return "libgs.so.10";
  return std::string(name);
}

}  // namespace plumeta::host
