#include "setup/setup_program.h"

#include <exception>
#include <optional>
#include <utility>

#include "common/application_error.h"
#include "common/errors.h"
#include "setup/run_mode.h"
#include "setup/setup_names.h"

namespace plumeta::setup {
namespace {

// One line per failure, after whatever the installer wrote there before; a
// log that cannot be written loses only the reason, never the exit code.
void AppendToErrorLog(platform::Files& files, const std::string& log,
                      std::string reason) {
  for (std::size_t at = reason.find("\r\n"); at != std::string::npos;
       at = reason.find("\r\n", at)) {
    reason.replace(at, 2, " ");
  }
  std::string text = files.ReadFile(log).value_or("");
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  text += "plumsetup: " + WithFullStop(reason) + "\r\n";
  files.WriteTextFile(log, text, platform::FileProtection::kInherited);
}

}  // namespace

int RunSetupProgram(SetupServices services, platform::UserInterface& ui,
                    std::unique_ptr<NoticeBalloon> balloon,
                    std::vector<std::string> arguments,
                    const FormComponents& components) {
  services.application.SetTitle(kApplicationTitle);
  const std::optional<std::string> log = ErrorLogFromArguments(arguments);
  TForm1 form(services, std::move(balloon), std::move(arguments));
  std::shared_ptr<void> form_components;
  if (components) form_components = components(form);
  if (log) {
    try {
      form.FormCreate();
    } catch (const std::exception& error) {
      AppendToErrorLog(services.files, *log, error.what());
      return 1;
    }
  } else if (!RunReportingErrors(ui, kApplicationTitle,
                                 [&] { form.FormCreate(); })) {
    return 1;
  }
  services.application.Run();
  return 0;
}

}  // namespace plumeta::setup
