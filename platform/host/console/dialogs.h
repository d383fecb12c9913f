// Host stand-in (Linux only). The dialogs and the popup menu on the console.
//
//   input<TAB>caption<TAB>prompt<TAB>initial text
//       answers: "ok <text>" (OK with that text; "ok" alone: an empty
//       field), "cancel" (the initial text comes back)
//   save<TAB>proposed file name<TAB>filter<TAB>default extension
//       answers: "ok <path>", "ok" (the proposed name), "cancel"; as
//       Windows' dialog, it gives back a full path, a relative name taken
//       in the folder it shows (SaveDialogFolder), and refuses a name it
//       cannot save as (SaveDialogPath): the refusal goes to standard error
//       and the dialog goes on waiting
//   menu<TAB>x<TAB>y, then one item event per shown item:
//   item<TAB>depth<TAB>name<TAB>caption<TAB>marks
//       depth 0 for the top level, 1 in a submenu, ...; marks a comma list
//       of checked, radio, default, disabled, submenu (or empty)
//       answers: "click <Name>" (an item without a submenu), "cancel"
//
// At the end of input each is cancelled.
#ifndef PLATFORM_HOST_CONSOLE_DIALOGS_H_
#define PLATFORM_HOST_CONSOLE_DIALOGS_H_

#include <memory>
#include <optional>
#include <string>

#include "platform/dialogs.h"
#include "platform/host/box/box_process.h"
#include "platform/host/console/application.h"

namespace plumeta::host {

class HostDialogs : public platform::Dialogs {
 public:
  HostDialogs(HostApplication& application, std::shared_ptr<BoxProcess> process)
      : application_(application), process_(std::move(process)) {}

  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override;
  std::optional<std::string> SaveDialog(
      const platform::SaveDialogRequest& request) override;
  std::string TrackPopupMenu(const std::vector<platform::MenuItemView>& items,
                             platform::Point at) override;

 private:
  HostApplication& application_;
  std::shared_ptr<BoxProcess> process_;
};

// The file name a save dialog gives back for `typed`: with "." and the
// default extension ("*.PDF" counts as "PDF") added when its last path
// component has no extension, as Windows adds it.
std::string WithDefaultExtension(const std::string& typed,
                                 const std::string& default_extension);

// The folder a save dialog shows: the proposed name's when it is a full
// path, else the user's profile folder (USERPROFILE), else, where Windows
// has no profiles, the Windows folder, where a program started at log-on
// runs.
std::string SaveDialogFolder(const BoxProcess& process,
                             const std::string& proposed);

// The full path the save dialog gives back for `typed` in `folder`, with
// the default extension added where its name has none; nullopt, with the
// reason in `refusal`, for a name Windows' dialog never gives back: empty or
// only dots and blanks, with a character no file name has, naming a folder,
// or longer than MAX_PATH allows.
std::optional<std::string> SaveDialogPath(const BoxProcess& process,
                                          const std::string& folder,
                                          const std::string& typed,
                                          const std::string& default_extension,
                                          std::string* refusal);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_DIALOGS_H_
