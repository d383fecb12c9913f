#include "platform/host/print/ghostscript_command.h"

#include <cctype>
#include <string_view>

#include "common/ghostscript_arguments.h"
#include "common/text.h"

namespace plumeta::host {
namespace {

// Ghostscript reads argument files at most this deep inside each other.
constexpr int kMaxArgumentFileDepth = 10;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsDrivePath(std::string_view path) {
  return path.size() >= 3 &&
         std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

// A path that only Windows reads as one: with a drive, rooted or holding a
// backslash. Plain relative names mean the same on Linux.
bool IsWindowsPath(std::string_view path) {
  return IsDrivePath(path) || path.find('\\') != std::string_view::npos;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// A list of Windows folders joined by ';' as a Linux list joined by ':'.
// Folders the box cannot hold are left out (Ghostscript only searches them).
std::string TranslatePathList(const std::string& list, const BoxPaths& paths) {
  std::string linux_list;
  for (const std::string& folder : Split(list, ';')) {
    if (folder.empty()) continue;
    std::optional<std::string> linux_folder =
        IsWindowsPath(folder) ? paths.ToLinux(folder) : folder;
    if (!linux_folder) continue;
    if (!linux_list.empty()) linux_list += ':';
    linux_list += *linux_folder;
  }
  return linux_list;
}

// The -s options whose value is a file or a list of folders; every other
// -s value (a password, a device name) is taken as it stands.
bool IsPathOption(std::string_view name) {
  for (std::string_view option :
       {"stdout", "FONTPATH", "FONTMAP", "GenericResourceDir",
        "FontResourceDir", "ICCProfilesDir", "OutputICCProfile",
        "DefaultGrayProfile", "DefaultRGBProfile", "DefaultCMYKProfile"}) {
    if (name == option) return true;
  }
  return false;
}

bool IsPathList(const std::string& value) {
  for (const std::string& part : Split(value, ';')) {
    if (!part.empty() && !IsDrivePath(part) && !StartsWith(part, "\\")) {
      return false;
    }
  }
  return !value.empty() && (IsDrivePath(value) || StartsWith(value, "\\"));
}

class Translator {
 public:
  Translator(const BoxPaths& paths, const FileReader& read_file,
             GhostscriptCommand* command, std::string* error)
      : paths_(paths),
        read_file_(read_file),
        command_(command),
        error_(error) {}

  bool Expand(const std::vector<std::string>& arguments, int depth) {
    for (const std::string& argument : arguments) {
      if (!StartsWith(argument, "@")) {
        expanded_.push_back(argument);
        continue;
      }
      if (depth >= kMaxArgumentFileDepth) {
        return Fail("argument files nested too deep at " + argument);
      }
      const std::string name = argument.substr(1);
      std::optional<std::string> linux_name =
          IsWindowsPath(name) ? paths_.ToLinux(name) : name;
      std::optional<std::string> text;
      if (linux_name) text = read_file_(*linux_name);
      if (!text) return Fail("cannot open the argument file " + name);
      std::optional<std::vector<std::string>> inner =
          SplitGhostscriptArgumentFile(*text);
      if (!inner) return Fail("Unterminated quote in " + name);
      if (!Expand(*inner, depth + 1)) return false;
    }
    return true;
  }

  bool Translate() {
    bool code = false;  // inside -c: PostScript until the next option
    for (std::size_t i = 0; i < expanded_.size(); ++i) {
      const std::string& argument = expanded_[i];
      if (code && !StartsWith(argument, "-")) {
        Keep(argument);
        continue;
      }
      code = argument == "-c";
      if (argument == "-I" || argument == "-o") {
        Keep(argument);
        if (++i >= expanded_.size()) return true;  // Ghostscript complains
        if (argument == "-I") {
          Keep(TranslatePathList(expanded_[i], paths_));
        } else if (!Output("", expanded_[i])) {
          return false;
        }
      } else if (StartsWith(argument, "-I")) {
        Keep("-I" + TranslatePathList(argument.substr(2), paths_));
      } else if (StartsWith(argument, "-sOutputFile=") ||
                 (StartsWith(argument, "-sOutputFile#") &&
                  argument.find('=') == std::string::npos)) {
        if (!Output(argument.substr(0, 13), argument.substr(13))) return false;
      } else if (StartsWith(argument, "-o")) {
        if (!Output("-o", argument.substr(2))) return false;
      } else if (StartsWith(argument, "-s")) {
        std::size_t equals = argument.find('=');
        if (equals == std::string::npos) equals = argument.find('#');
        const std::string value =
            equals == std::string::npos ? "" : argument.substr(equals + 1);
        if (equals != std::string::npos &&
            IsPathOption(std::string_view(argument).substr(2, equals - 2)) &&
            IsPathList(value)) {
          Keep(argument.substr(0, equals + 1) +
               TranslatePathList(value, paths_));
        } else {
          Keep(argument);
        }
      } else if (!StartsWith(argument, "-") && IsWindowsPath(argument)) {
        std::optional<std::string> linux_path = paths_.ToLinux(argument);
        if (!linux_path) return Fail(argument + " is not a path in the box");
        Keep(*linux_path);
      } else {
        Keep(argument);
      }
    }
    return true;
  }

 private:
  void Keep(std::string argument) {
    command_->arguments.push_back(std::move(argument));
  }

  bool Fail(const std::string& why) {
    *error_ = why;
    return false;
  }

  // OutputFile is a pattern: "%%" is one '%', "%d" the page number, and a
  // leading '%' names a device ("%stdout", "%pipe%command").
  bool Output(const std::string& option, const std::string& value) {
    command_->output_file.reset();
    if (StartsWith(value, "|") || StartsWith(AsciiLower(value), "%pipe%")) {
      return Fail("refused: the output file " + value + " runs a command");
    }
    if (value == "-" || StartsWith(value, "%")) {
      Keep(option + value);
      return true;
    }
    std::string literal;
    bool pattern = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '%' && i + 1 < value.size() && value[i + 1] == '%') {
        literal += '%';
        ++i;
      } else {
        pattern = pattern || value[i] == '%';
        literal += value[i];
      }
    }
    std::optional<std::string> linux_path =
        paths_.ToLinux(pattern ? value : literal);
    if (!linux_path) return Fail(value + " is not a path in the box");
    if (pattern) {
      Keep(option + *linux_path);
      return true;
    }
    std::string doubled;
    for (char c : *linux_path) {
      doubled += c;
      if (c == '%') doubled += '%';
    }
    Keep(option + doubled);
    command_->output_file = *linux_path;
    return true;
  }

  const BoxPaths& paths_;
  const FileReader& read_file_;
  GhostscriptCommand* command_;
  std::string* error_;
  std::vector<std::string> expanded_;
};

}  // namespace

bool TranslateGhostscriptArguments(const std::vector<std::string>& arguments,
                                   const BoxPaths& paths,
                                   const FileReader& read_file,
                                   GhostscriptCommand* command,
                                   std::string* error) {
  *command = {};
  Translator translator(paths, read_file, command, error);
  return translator.Expand(arguments, 0) && translator.Translate();
}

}  // namespace plumeta::host
