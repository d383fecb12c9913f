// The Ghostscript argument file that the printer port hands to Ghostscript
// for every job: where it lives and what it says for a set of conversion
// settings. Writing it is TMain::WriteResponseFile.
#ifndef MONITOR_RESPONSE_FILE_H_
#define MONITOR_RESPONSE_FILE_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "monitor/conversion_settings.h"
#include "platform/system.h"

namespace plumeta {

// "%windir%\system32\plum.rsp" ("\system32\plum.rsp" without windir).
std::string ResponseFilePath(platform::System& system);

// The PDF every conversion writes: the temporary folder without its trailing
// backslash, then "\1024.pdf".
std::string LastResultPath(const std::string& temp_folder);

// The output file an argument file's text names, read as Ghostscript reads
// it ('%%' is one '%'); nullopt when it names none or cannot be read.
std::optional<std::string> OutputFileOf(const std::string& text);

// Whether the PDF is to be encrypted: a password is set or a permission is
// withheld.
bool NeedsEncryption(const ConversionSettings& settings);

// The arguments, one per line of the file, in their order. When the file
// encrypts and the settings hold no owner password (or one made only of
// characters that cannot reach Ghostscript), `generated_owner_password` stands
// in for it: Ghostscript encrypts only with an owner password.
std::vector<std::string> ResponseFileArguments(
    const ConversionSettings& settings, const std::string& temp_folder,
    const std::string& generated_owner_password);

// How an option and its value become one argument: GhostscriptArgument for
// the argument file; the two joined for Ghostscript's own argv.
using OptionWriter =
    std::function<std::string(const std::string&, const std::string&)>;

// The options that carry the settings: the resolution, the compatibility
// level, the preset and, when the PDF is encrypted, the passwords and the
// permissions (`generated_owner_password` standing in as above).
std::vector<std::string> SettingsOptions(
    const ConversionSettings& settings,
    const std::string& generated_owner_password, const OptionWriter& argument);

// Whether the file for these settings carries a generated owner password.
bool NeedsGeneratedOwnerPassword(const ConversionSettings& settings);

// The owner password used when the user set none: `bytes` as lower-case hex.
std::string HexOwnerPassword(const std::vector<unsigned char>& bytes);

}  // namespace plumeta

#endif  // MONITOR_RESPONSE_FILE_H_
