// Host stand-in (Linux only). The dialogs and the popup menu on the console.
//
//   input<TAB>caption<TAB>prompt<TAB>initial text
//       answers: "ok <text>" (OK with that text; "ok" alone: an empty
//       field), "cancel" (the initial text comes back)
//   save<TAB>proposed file name<TAB>filter<TAB>default extension
//       answers: "ok <path>", "ok" (the proposed name), "cancel"
//   menu<TAB>x<TAB>y, then one item event per shown item:
//   item<TAB>depth<TAB>name<TAB>caption<TAB>marks
//       depth 0 for the top level, 1 in a submenu, ...; marks a comma list
//       of checked, radio, default, disabled, submenu (or empty)
//       answers: "click <Name>" (an item without a submenu), "cancel"
//
// At the end of input each is cancelled.
#ifndef PLATFORM_HOST_CONSOLE_DIALOGS_H_
#define PLATFORM_HOST_CONSOLE_DIALOGS_H_

#include "platform/dialogs.h"
#include "platform/host/console/application.h"

namespace plumeta::host {

class HostDialogs : public platform::Dialogs {
 public:
  explicit HostDialogs(HostApplication& application)
      : application_(application) {}

  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override;
  std::optional<std::string> SaveDialog(
      const platform::SaveDialogRequest& request) override;
  std::string TrackPopupMenu(const std::vector<platform::MenuItemView>& items,
                             platform::Point at) override;

 private:
  HostApplication& application_;
};

// The file name a save dialog gives back for `typed`: with "." and the
// default extension ("*.PDF" counts as "PDF") added when its last path
// component has no extension, as Windows adds it.
std::string WithDefaultExtension(const std::string& typed,
                                 const std::string& default_extension);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_DIALOGS_H_
