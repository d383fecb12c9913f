#include "monitor/response_file.h"

#include <string_view>

#include "common/ghostscript_arguments.h"
#include "common/system_names.h"
#include "common/text.h"
#include "monitor/conversion_log.h"

namespace plumeta {
namespace {

constexpr char kIncludePath[] =
    "-ID:\\build\\plumeta\\gs\\system32\\lib;D:\\build\\plumeta\\gs\\fonts";

// "/printer" for the menu's "Print", else "/" and the name in lower case.
std::string PresetValue(const std::string& quality) {
  std::string value = "/";
  value += quality == "Print" ? std::string("printer") : AsciiLower(quality);
  return value;
}

}  // namespace

std::string ResponseFilePath(platform::System& system) {
  return system.Environment("windir").value_or("") + "\\system32\\plum.rsp";
}

std::string LastResultPath(const std::string& temp_folder) {
  std::string folder = temp_folder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + "\\" + kLastResultFileName;
}

std::optional<std::string> OutputFileOf(const std::string& text) {
  static constexpr std::string_view kOption = "-sOutputFile=";
  const auto arguments = SplitGhostscriptArgumentFile(text);
  if (!arguments) return std::nullopt;
  std::optional<std::string> output;
  for (const std::string& argument : *arguments) {
    if (argument.compare(0, kOption.size(), kOption) != 0) continue;
    output.emplace();
    for (std::size_t i = kOption.size(); i < argument.size(); ++i) {
      *output += argument[i];
      if (argument[i] == '%' && i + 1 < argument.size() &&
          argument[i + 1] == '%') {
        ++i;
      }
    }
  }
  return output;
}

bool NeedsEncryption(const ConversionSettings& settings) {
  return !settings.user_password.empty() || !settings.owner_password.empty() ||
         settings.permission != kAllPermissions;
}

bool NeedsGeneratedOwnerPassword(const ConversionSettings& settings) {
  return NeedsEncryption(settings) &&
         WithoutControlCharacters(settings.owner_password).empty();
}

std::vector<std::string> SettingsOptions(
    const ConversionSettings& settings,
    const std::string& generated_owner_password, const OptionWriter& argument) {
  const bool encrypt = NeedsEncryption(settings);
  std::vector<std::string> arguments = {
      std::string("-r") + (IsResolution(settings.resolution)
                               ? settings.resolution
                               : std::string(kDefaultResolution)),
      argument("-dCompatibilityLevel=", encrypt ? "1.4" : settings.version),
      argument("-dPDFSETTINGS=", PresetValue(settings.quality)),
  };
  if (!encrypt) return arguments;
  const std::string& owner_password = NeedsGeneratedOwnerPassword(settings)
                                          ? generated_owner_password
                                          : settings.owner_password;
  arguments.push_back(argument("-sOwnerPassword=", owner_password));
  if (!settings.user_password.empty()) {
    arguments.push_back(argument("-sUserPassword=", settings.user_password));
  }
  arguments.push_back("-dEncryptionR#3");
  arguments.push_back("-dKeyLength#128");
  arguments.push_back("-dPermissions#-" + PermissionCode(settings.permission));
  return arguments;
}

namespace {

// The settings' options, up to the PostScript that runs the job.
std::vector<std::string> ConversionOptions(
    const ConversionSettings& settings, const std::string& temp_folder,
    const std::string& generated_owner_password) {
  const std::string last_result = LastResultPath(temp_folder);
  std::vector<std::string> arguments = {
      kIncludePath,
      "-sDEVICE=pdfwrite",
      GhostscriptArgument("-sOutputFile=",
                          GhostscriptLiteralFileName(last_result)),
      // Ghostscript's messages, without its banner, go to the log the
      // monitor reads when the job has left; a '%' is literal here.
      GhostscriptArgument("-sstdout=", ConversionLogPath(last_result)),
      "-q",
      "-dNOPAUSE",
      "-dSAFER",
      "-dBATCH",
  };
  for (std::string& option : SettingsOptions(settings, generated_owner_password,
                                             GhostscriptArgument)) {
    arguments.push_back(std::move(option));
  }
  return arguments;
}

}  // namespace

std::vector<std::string> ResponseFileArguments(
    const ConversionSettings& settings, const std::string& temp_folder,
    const std::string& generated_owner_password) {
  std::vector<std::string> arguments =
      ConversionOptions(settings, temp_folder, generated_owner_password);
  // Last, before the port's "-" (which then finds the input read): the job
  // run so that the log tells how it ended.
  arguments.push_back("-c");
  arguments.push_back(GhostscriptArgument("", kRunJobFragment));
  arguments.push_back("-f");
  return arguments;
}

std::string HexOwnerPassword(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

}  // namespace plumeta
