#include "widgets/prev_inst.h"

#include <optional>
#include <string>

namespace plumeta::widgets {

namespace {

// Failed reads and empty texts never match.
bool SameText(const std::optional<std::string>& text, const std::string& own) {
  return text && !text->empty() && *text == own;
}

}  // namespace

TPrevInst::TPrevInst(platform::Application& application,
                     platform::TopLevelWindows& windows)
    : application_(application), windows_(windows) {}

bool TPrevInst::CheckPrevInst() {
  platform::TopLevelWindow own = windows_.ApplicationWindow();
  const std::string own_class = own.class_name.value_or("");
  const std::string own_title = own.title.value_or("");

  int matches = 0;
  platform::WindowHandle other = 0;
  for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
    if (!SameText(window.class_name, own_class)) continue;
    if (!SameText(window.title, own_title)) continue;
    ++matches;
    if (window.handle != own.handle) other = window.handle;
  }
  if (matches <= allowed_inst_) return false;

  // With AllowedInst 0 the own window alone is too many: nothing to bring
  // forward then.
  if (other != 0) {
    platform::WindowHandle popup = windows_.LastActivePopup(other);
    windows_.BringWindowToTop(other);
    if (windows_.IsIconic(popup)) {
      windows_.Restore(popup);
    } else {
      windows_.SetForegroundWindow(popup);
    }
  }
  application_.Terminate();
  return true;
}

}  // namespace plumeta::widgets
