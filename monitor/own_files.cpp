#include "monitor/own_files.h"

#include <vector>

#include "common/system_names.h"
#include "common/text.h"
#include "common/windows_paths.h"
#include "monitor/conversion_log.h"
#include "monitor/pdf_delivery.h"

namespace plumeta {
namespace {

constexpr char kArgumentFileName[] = "plum.rsp";

// LastResult's name without its extension: "1024".
std::string AsideStem(const std::string& last_result) {
  std::string stem = NameOf(last_result);
  if (const std::size_t dot = stem.find_last_of('.'); dot != std::string::npos)
    stem.erase(dot);
  return stem;
}

bool SameOrAlias(platform::Files& files, const std::string& own,
                 const std::string& path) {
  return SameName(ComparablePath(own), ComparablePath(path)) ||
         SameFile(files, own, path);
}

}  // namespace

std::string AsidePath(const std::string& last_result, std::uint32_t job_id) {
  return FolderOf(last_result) + AsideStem(last_result) + "-" +
         std::to_string(job_id) + ".pdf";
}

std::optional<std::uint32_t> AsideJobId(const std::string& last_result,
                                        const std::string& file_name) {
  const std::string stem = AsideStem(last_result) + "-";
  constexpr std::string_view kExtension = ".pdf";
  if (file_name.size() <= stem.size() + kExtension.size() ||
      !SameName(file_name.substr(0, stem.size()), stem) ||
      !SameName(file_name.substr(file_name.size() - kExtension.size()),
                kExtension)) {
    return std::nullopt;
  }
  const std::string digits = file_name.substr(
      stem.size(), file_name.size() - stem.size() - kExtension.size());
  std::uint64_t id = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    id = id * 10 + static_cast<std::uint64_t>(c - '0');
    if (id > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(id);
}

std::vector<std::string> ArgumentFilePaths(platform::System& system,
                                           bool under_wow64) {
  const std::string windows = system.Environment("windir").value_or("");
  std::vector<std::string> paths = {windows + "\\system32\\" +
                                    kArgumentFileName};
  if (under_wow64) {
    paths.push_back(windows + "\\SysWOW64\\" + kArgumentFileName);
    paths.push_back(windows + "\\Sysnative\\" + kArgumentFileName);
  }
  return paths;
}

std::string ComparablePath(const std::string& path) {
  std::string text = path;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  if (text.starts_with("\\\\?\\")) text.erase(0, 4);
  // The root stays as it is: "C:\", "\\server\share\" or "\".
  std::size_t root = 0;
  if (text.size() >= 2 && text[1] == ':') {
    root = text.size() > 2 && text[2] == '\\' ? 3 : 2;
  } else if (text.starts_with("\\\\")) {
    root = text.find('\\', text.find('\\', 2) + 1);
    root = root == std::string::npos ? text.size() : root + 1;
  } else if (text.starts_with("\\")) {
    root = 1;
  }
  std::vector<std::string> names;
  std::size_t start = root;
  while (start < text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(start, end - start);
    start = end + 1;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
      name.pop_back();
    }
    if (!name.empty()) names.push_back(std::move(name));
  }
  std::string full = text.substr(0, root);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) full += '\\';
    full += names[i];
  }
  return full;
}

bool IsOwnFile(platform::Files& files, const OwnFiles& own,
               const std::string& path) {
  if (!own.last_result.empty()) {
    if (SameOrAlias(files, own.last_result, path) ||
        SameOrAlias(files, ConversionLogPath(own.last_result), path)) {
      return true;
    }
    const std::string full = ComparablePath(path);
    if (const std::optional<std::uint32_t> id =
            AsideJobId(own.last_result, NameOf(full));
        id && SameOrAlias(files, AsidePath(own.last_result, *id), full)) {
      return true;
    }
  }
  for (const std::string& argument_file : own.argument_files) {
    if (SameOrAlias(files, argument_file, path)) return true;
  }
  return false;
}

void ShowOwnFileRefusal(platform::UserInterface& ui, const std::string& path) {
  ui.MessageBox("The PDF cannot be saved as '" + path + "': " + kMonitorTitle +
                    " uses this file itself.\r\nPlease choose another name.",
                kMonitorTitle, platform::MessageButtons::kOk,
                platform::MessageIcon::kWarning,
                /*owned_by_main_window=*/true);
}

}  // namespace plumeta
