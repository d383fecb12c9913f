// Host stand-in (Linux only).
#include "platform/host/console/dialogs.h"

#include <filesystem>
#include <string_view>

namespace plumeta::host {
namespace {

// The edit field of the text-input dialog takes this many characters.
constexpr std::size_t kInputLimit = 255;
// The longest path Windows' file calls take (MAX_PATH without its NUL).
constexpr std::size_t kMaxPathLength = 259;

bool IsFullPath(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

bool IsOkOrCancel(const ConsoleCommand& command) {
  return command.keyword == "ok" || command.keyword == "cancel";
}

std::string Marks(const platform::MenuItemView& item) {
  std::string marks;
  auto add = [&](bool present, std::string_view mark) {
    if (!present) return;
    if (!marks.empty()) marks += ',';
    marks += mark;
  };
  add(item.checked, "checked");
  add(item.radio, "radio");
  add(item.is_default, "default");
  add(!item.enabled, "disabled");
  add(!item.items.empty(), "submenu");
  return marks;
}

void ListItems(Console& console,
               const std::vector<platform::MenuItemView>& items, int depth) {
  for (const auto& item : items) {
    if (!item.visible) continue;
    console.Event(
        "item", {std::to_string(depth), item.name, item.caption, Marks(item)});
    ListItems(console, item.items, depth + 1);
  }
}

// A shown, enabled item without a submenu, not a separator.
bool CanChoose(const std::vector<platform::MenuItemView>& items,
               const std::string& name) {
  for (const auto& item : items) {
    if (!item.visible || !item.enabled) continue;
    if (item.items.empty()) {
      if (item.name == name && item.caption != "-") return true;
    } else if (CanChoose(item.items, name)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string HostDialogs::InputBox(const std::string& caption,
                                  const std::string& prompt,
                                  const std::string& initial) {
  application_.console().Event("input", {caption, prompt, initial});
  const auto answer = application_.WaitForAnswer(IsOkOrCancel);
  if (!answer || answer->keyword == "cancel") return initial;
  return answer->argument.substr(0, kInputLimit);
}

std::optional<std::string> HostDialogs::SaveDialog(
    const platform::SaveDialogRequest& request) {
  application_.console().Event(
      "save", {request.file_name, request.filter, request.default_extension});
  const std::string folder = SaveDialogFolder(*process_, request.file_name);
  for (;;) {
    const auto answer = application_.WaitForAnswer([](const ConsoleCommand& c) {
      return c.keyword == "cancel" || c.keyword == "ok";
    });
    if (!answer || answer->keyword == "cancel") return std::nullopt;
    const std::string& typed =
        answer->argument.empty() ? request.file_name : answer->argument;
    std::string refusal;
    if (std::optional<std::string> path = SaveDialogPath(
            *process_, folder, typed, request.default_extension, &refusal)) {
      return path;
    }
    application_.console().Refuse(
        answer->argument.empty() ? "ok" : "ok " + answer->argument, refusal);
  }
}

std::string HostDialogs::TrackPopupMenu(
    const std::vector<platform::MenuItemView>& items, platform::Point at) {
  Console& console = application_.console();
  console.Event("menu", {std::to_string(at.x), std::to_string(at.y)});
  ListItems(console, items, 0);
  const auto answer =
      application_.WaitForAnswer([&](const ConsoleCommand& command) {
        return command.keyword == "cancel" ||
               (command.keyword == "click" &&
                CanChoose(items, command.argument));
      });
  if (!answer || answer->keyword == "cancel") return "";
  return answer->argument;
}

std::string WithDefaultExtension(const std::string& typed,
                                 const std::string& default_extension) {
  std::string_view extension = default_extension;
  while (!extension.empty() &&
         (extension.front() == '*' || extension.front() == '.')) {
    extension.remove_prefix(1);
  }
  const std::size_t name_start = typed.find_last_of("\\/:") + 1;
  if (extension.empty() || typed.find('.', name_start) != std::string::npos) {
    return typed;
  }
  return typed + "." + std::string(extension);
}

std::string SaveDialogFolder(const BoxProcess& process,
                             const std::string& proposed) {
  if (IsFullPath(proposed)) {
    if (std::optional<std::string> full = process.paths().FullPath(proposed)) {
      const std::size_t slash = full->find_last_of('\\');
      return full->substr(0, slash == 2 ? 3 : slash);
    }
  }
  return process.facts()
      .Environment("USERPROFILE")
      .value_or(process.facts().windows_folder);
}

std::optional<std::string> SaveDialogPath(const BoxProcess& process,
                                          const std::string& folder,
                                          const std::string& typed,
                                          const std::string& default_extension,
                                          std::string* refusal) {
  std::string name = typed.substr(typed.find_last_of("\\/:") + 1);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    name.pop_back();
  }
  if (name.empty()) {
    *refusal = "not a file name";
    return std::nullopt;
  }
  std::string path = typed;
  if (path.size() >= 2 && path[1] == ':') {
    // "D:name" is taken in the root of D:.
    if (!IsFullPath(path)) path.insert(2, "\\");
  } else if (path.front() == '\\' || path.front() == '/') {
    path = folder.substr(0, 2) + path;
  } else {
    path = folder + (folder.back() == '\\' ? "" : "\\") + path;
  }
  std::optional<std::string> full = process.paths().FullPath(path);
  if (!full) {
    *refusal = "not a file name";
    return std::nullopt;
  }
  std::error_code error;
  if (std::optional<std::string> linux_path = process.LinuxPath(*full);
      linux_path && std::filesystem::is_directory(*linux_path, error)) {
    *refusal = "a folder";
    return std::nullopt;
  }
  *full = WithDefaultExtension(*full, default_extension);
  if (full->size() > kMaxPathLength) {
    *refusal = "too long";
    return std::nullopt;
  }
  return full;
}

}  // namespace plumeta::host
