// The modal dialogs and the popup menu. Each runs its own message loop, so
// timers keep ticking while it is open; each is owned by the program's main
// window.
#ifndef PLATFORM_DIALOGS_H_
#define PLATFORM_DIALOGS_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/menu_model.h"

namespace plumeta::platform {

struct SaveDialogRequest {
  std::string file_name;          // proposed name or path
  std::string filter;             // "Adobe PDF files (*.PDF)|*.PDF"
  std::string default_extension;  // "*.PDF"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The text-input dialog: caption, prompt, an edit field of at most 255
  // characters shown in clear, "OK" (default) and "Cancel". Cancel gives back
  // `initial` unchanged.
  virtual std::string InputBox(const std::string& caption,
                               const std::string& prompt,
                               const std::string& initial) = 0;
  // The file-save dialog: the chosen path, or nullopt when cancelled.
  virtual std::optional<std::string> SaveDialog(
      const SaveDialogRequest& request) = 0;
  // Shows the menu at `at` and returns when it has closed: the name of the
  // chosen item, or empty when nothing was chosen.
  virtual std::string TrackPopupMenu(const std::vector<MenuItemView>& items,
                                     Point at) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_DIALOGS_H_
