// platform/win32: Win32 calls only, in their ANSI ("A") forms. The text-input
// dialog (an in-memory dialog template), the save dialog
// (GetSaveFileNameA) and the popup menu, all owned by the program's main
// window (or, for the menu, by the application window).
#ifndef PLATFORM_WIN32_WIN32_DIALOGS_H_
#define PLATFORM_WIN32_WIN32_DIALOGS_H_

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/user_interface.h"
#include "platform/win32/win32_application.h"

namespace plumeta::win32 {

class Win32Dialogs : public platform::Dialogs {
 public:
  Win32Dialogs(Win32Application& application, Win32UserInterface& ui)
      : application_(application), ui_(ui) {}

  std::string InputBox(const std::string& caption, const std::string& prompt,
                       const std::string& initial) override;
  std::optional<std::string> SaveDialog(
      const platform::SaveDialogRequest& request) override;
  std::string TrackPopupMenu(const std::vector<platform::MenuItemView>& items,
                             platform::Point at) override;

 private:
  Win32Application& application_;
  Win32UserInterface& ui_;
};

// The control ids of the text-input dialog.
inline constexpr int kInputPromptId = 100;
inline constexpr int kInputEditId = 101;
// The most characters its edit field takes.
inline constexpr int kInputLimit = 255;

// "Adobe PDF files (*.PDF)|*.PDF" as OPENFILENAME wants it: NUL for each
// '|', and two NULs at the end.
std::string SaveDialogFilter(const std::string& filter);
// The extension GetSaveFileNameA appends: "*.PDF" and ".PDF" give "PDF".
std::string SaveDialogDefaultExtension(const std::string& default_extension);

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WIN32_DIALOGS_H_
