#include "setup/setup_program.h"

#include <utility>

#include "common/application_error.h"
#include "setup/setup_names.h"

namespace plumeta::setup {

int RunSetupProgram(SetupServices services, platform::UserInterface& ui,
                    std::unique_ptr<NoticeBalloon> balloon,
                    std::vector<std::string> arguments,
                    const FormComponents& components) {
  services.application.SetTitle(kApplicationTitle);
  TForm1 form(services, std::move(balloon), std::move(arguments));
  std::shared_ptr<void> form_components;
  if (components) form_components = components(form);
  if (!RunReportingErrors(ui, kApplicationTitle, [&] { form.FormCreate(); })) {
    return 1;
  }
  services.application.Run();
  return 0;
}

}  // namespace plumeta::setup
