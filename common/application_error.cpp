#include "common/application_error.h"

#include "common/errors.h"

namespace plumeta {

void ShowErrorBox(platform::UserInterface& ui, const std::string& title,
                  const std::string& text) {
  ui.MessageBox(WithFullStop(text), title, platform::MessageButtons::kOk,
                platform::MessageIcon::kError, /*owned_by_main_window=*/false);
}

bool RunReportingErrors(platform::UserInterface& ui, const std::string& title,
                        const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowErrorBox(ui, title, error.what());
    return false;
  }
}

}  // namespace plumeta
