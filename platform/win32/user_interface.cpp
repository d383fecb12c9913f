// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/user_interface.h"

namespace plumeta::win32 {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

namespace {

UINT ButtonStyle(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOk:
      return MB_OK;
    case MessageButtons::kOkCancel:
      return MB_OKCANCEL;
    case MessageButtons::kYesNo:
      return MB_YESNO;
    case MessageButtons::kYesNoCancel:
      return MB_YESNOCANCEL;
  }
  return MB_OK;
}

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone:
      return 0;
    case MessageIcon::kError:
      return MB_ICONERROR;
    case MessageIcon::kWarning:
      return MB_ICONWARNING;
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
  }
  return 0;
}

}  // namespace

UINT MessageBoxStyle(MessageButtons buttons, MessageIcon icon) {
  return ButtonStyle(buttons) | IconStyle(icon);
}

MessageResult Win32UserInterface::MessageBox(const std::string& text,
                                             const std::string& caption,
                                             MessageButtons buttons,
                                             MessageIcon icon,
                                             bool owned_by_main_window) {
  HWND owner = owned_by_main_window ? main_window_ : nullptr;
  switch (::MessageBoxA(owner, text.c_str(), caption.c_str(),
                        MessageBoxStyle(buttons, icon))) {
    case IDOK:
      return MessageResult::kOk;
    case IDYES:
      return MessageResult::kYes;
    case IDNO:
      return MessageResult::kNo;
    default:
      return MessageResult::kCancel;
  }
}

}  // namespace plumeta::win32
