// TMain::WriteResponseFile: the argument file in the Windows system folder
// (under WOW64 in both, the native one and SysWOW64), replaced whole so that
// a job never reads half of it; and the output file it names, which may be
// another user's.
#include "common/errors.h"
#include "common/ghostscript_arguments.h"
#include "common/system_utils.h"
#include "monitor/combined_pdf.h"
#include "monitor/main_form.h"
#include "monitor/response_file.h"

namespace plumeta {
namespace {

constexpr std::size_t kOwnerPasswordBytes = 16;

}  // namespace

std::string TMain::FreshOwnerPassword() {
  std::vector<unsigned char> bytes(kOwnerPasswordBytes);
  const platform::ErrorCode code =
      platform_.random->Fill(bytes.data(), bytes.size());
  if (code != platform::kSuccess) {
    throw OsError(code, platform_.system->ErrorMessage(code));
  }
  return HexOwnerPassword(bytes);
}

void TMain::WriteResponseFile() {
  PermissionStringFromMenu();
  // Ghostscript encrypts only with an owner password; one nobody needs to
  // know keeps the user password and the permissions working. While jobs
  // are combined the file carries no password: the merge applies them.
  const bool combine = CombineJobs();
  const std::string generated_owner_password =
      !combine && NeedsGeneratedOwnerPassword(settings_) ? FreshOwnerPassword()
                                                         : "";
  const std::string text = GhostscriptArgumentFileText(
      combine ? IntermediateArguments(settings_, system_utils_.TempFolder())
              : ResponseFileArguments(settings_, system_utils_.TempFolder(),
                                      generated_owner_password));

  const std::string path = ResponseFilePath(*platform_.system);
  // Each user's monitor writes its own fresh copy: on a machine with several
  // users two monitors may replace the file at the same moment.
  const std::string user =
      platform_.system->Environment("USERNAME").value_or("");
  const std::string fresh = path + (user.empty() ? "" : "." + user) + ".new";
  // The file holds passwords in clear and the port runs Ghostscript with it
  // as SYSTEM: only administrators and the system may read or change it.
  // Under WOW64 the port's 32-bit Ghostscript reads the copy in SysWOW64.
  const platform::ErrorCode code =
      InEachSystemFolder(system_utils_, runs_under_wow64_ != 0, [&] {
        platform::ErrorCode written = platform_.files->WriteTextFile(
            fresh, text,
            platform::FileProtection::kAdministratorsAndSystemOnly);
        if (written == platform::kSuccess) {
          written = platform_.files->Replace(fresh, path);
        }
        if (written != platform::kSuccess) platform_.files->Delete(fresh);
        return written;
      });
  if (code != platform::kSuccess) throw InOutError(code);
}

std::optional<std::string> TMain::ArgumentFileOutput() {
  NativeSystemFolder native(system_utils_, runs_under_wow64_ != 0);
  const std::optional<std::string> text =
      platform_.files->ReadFile(ResponseFilePath(*platform_.system));
  return text ? OutputFileOf(*text) : std::nullopt;
}

}  // namespace plumeta
