// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/win32_popup_menu.h"

namespace plumeta::win32 {
namespace {

// Dialog units of the text-input dialog's layout.
constexpr int kDialogWidth = 180;
constexpr int kMargin = 8;
constexpr int kPromptWidth = kDialogWidth - 2 * kMargin;
constexpr int kEditHeight = 12;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kGap = 4;
constexpr int kLineHeight = 8;

// A DLGTEMPLATE with its items, laid out as DialogBoxIndirectParamA reads it:
// WORD-sized fields, strings in UTF-16, each item DWORD-aligned. Texts stay
// empty here; the dialog sets them in ANSI when it starts.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, int items) {
    Align(4);
    Put<DWORD>(style);
    Put<DWORD>(0);  // extended style
    Put<WORD>(static_cast<WORD>(items));
    Put<short>(0);
    Put<short>(0);
    Put<short>(width);
    Put<short>(height);
    Put<WORD>(0);  // no menu
    Put<WORD>(0);  // the standard dialog class
    Put<WORD>(0);  // no title yet
    Put<WORD>(8);  // DS_SETFONT: point size, then the face name
    for (char c : std::string("MS Shell Dlg")) Put<WORD>(static_cast<WORD>(c));
    Put<WORD>(0);
  }

  void Item(WORD class_atom, int id, DWORD style, short x, short y, short cx,
            short cy) {
    Align(4);
    Put<DWORD>(style | WS_CHILD | WS_VISIBLE);
    Put<DWORD>(0);
    Put<short>(x);
    Put<short>(y);
    Put<short>(cx);
    Put<short>(cy);
    Put<WORD>(static_cast<WORD>(id));
    Put<WORD>(0xFFFF);
    Put<WORD>(class_atom);
    Put<WORD>(0);  // no text yet
    Put<WORD>(0);  // no creation data
  }

  const DLGTEMPLATE* Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  template <typename T>
  void Put(T value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof(T));
    std::memcpy(bytes_.data() + at, &value, sizeof(T));
  }
  void Align(std::size_t to) {
    while (bytes_.size() % to != 0) bytes_.push_back(0);
  }

  // Heap storage, aligned for a DWORD at its start.
  std::vector<unsigned char> bytes_;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct InputState {
  const std::string* caption;
  const std::string* prompt;
  const std::string* initial;
  std::string result;
};

// Moves a control by dialog units.
void Place(HWND dialog, int id, int x, int y, int cx, int cy) {
  RECT rect = {x, y, x + cx, y + cy};
  ::MapDialogRect(dialog, &rect);
  ::MoveWindow(::GetDlgItem(dialog, id), rect.left, rect.top,
               rect.right - rect.left, rect.bottom - rect.top, FALSE);
}

// Lays the dialog out for the prompt's height: the prompt wraps at the
// prompt width.
void LayOut(HWND dialog, const std::string& prompt) {
  RECT unit = {0, 0, 4, 8};
  ::MapDialogRect(dialog, &unit);
  const int base_x = unit.right;   // pixels per 4 dialog units across
  const int base_y = unit.bottom;  // pixels per 8 dialog units down
  RECT text = {0, 0, kPromptWidth * base_x / 4, 0};
  HDC dc = ::GetDC(dialog);
  HGDIOBJ old = ::SelectObject(
      dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(dialog, WM_GETFONT, 0, 0)));
  ::DrawTextA(dc, prompt.c_str(), static_cast<int>(prompt.size()), &text,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog, dc);
  const int prompt_height = std::max(
      kLineHeight, static_cast<int>((text.bottom * 8 + base_y - 1) / base_y));
  int y = kMargin;
  Place(dialog, kInputPromptId, kMargin, y, kPromptWidth, prompt_height);
  y += prompt_height + kGap;
  Place(dialog, kInputEditId, kMargin, y, kPromptWidth, kEditHeight);
  y += kEditHeight + 2 * kGap;
  const int buttons_left = kDialogWidth - kMargin - 2 * kButtonWidth - kGap;
  Place(dialog, IDOK, buttons_left, y, kButtonWidth, kButtonHeight);
  Place(dialog, IDCANCEL, buttons_left + kButtonWidth + kGap, y, kButtonWidth,
        kButtonHeight);
  y += kButtonHeight + kMargin;

  RECT client = {0, 0, kDialogWidth, y};
  ::MapDialogRect(dialog, &client);
  const DWORD style =
      static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE));
  const DWORD ex_style =
      static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE));
  ::AdjustWindowRectEx(&client, style, FALSE, ex_style);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                 LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputState*>(lparam);
      ::SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      ::SetWindowTextA(dialog, state->caption->c_str());
      ::SetDlgItemTextA(dialog, kInputPromptId, state->prompt->c_str());
      ::SetDlgItemTextA(dialog, IDOK, "OK");
      ::SetDlgItemTextA(dialog, IDCANCEL, "Cancel");
      HWND edit = ::GetDlgItem(dialog, kInputEditId);
      ::SendMessageA(edit, EM_LIMITTEXT, kInputLimit, 0);
      ::SetWindowTextA(edit, state->initial->c_str());
      ::SendMessageA(edit, EM_SETSEL, 0, -1);
      LayOut(dialog, *state->prompt);
      ::SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        auto* state = reinterpret_cast<InputState*>(
            ::GetWindowLongPtrA(dialog, DWLP_USER));
        char text[kInputLimit + 1] = {};
        ::GetDlgItemTextA(dialog, kInputEditId, text, sizeof(text));
        state->result = text;
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::string Win32Dialogs::InputBox(const std::string& caption,
                                   const std::string& prompt,
                                   const std::string& initial) {
  DialogTemplate dialog(
      DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
      kDialogWidth, 60, 4);
  dialog.Item(kStaticClass, kInputPromptId, SS_LEFT | SS_NOPREFIX, kMargin,
              kMargin, kPromptWidth, kLineHeight);
  dialog.Item(kEditClass, kInputEditId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
              kMargin, 20, kPromptWidth, kEditHeight);
  dialog.Item(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 72, 38,
              kButtonWidth, kButtonHeight);
  dialog.Item(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 126, 38,
              kButtonWidth, kButtonHeight);
  InputState state{&caption, &prompt, &initial, initial};
  const INT_PTR answer = ::DialogBoxIndirectParamA(
      ::GetModuleHandleA(nullptr), dialog.Get(), ui_.main_window(),
      &InputDialogProc, reinterpret_cast<LPARAM>(&state));
  // Cancel, and a dialog that could not be shown, give the initial text.
  return answer == IDOK ? state.result : initial;
}

std::string SaveDialogFilter(const std::string& filter) {
  std::string converted = filter;
  for (char& c : converted) {
    if (c == '|') c = '\0';
  }
  converted += '\0';
  converted += '\0';
  return converted;
}

std::string SaveDialogDefaultExtension(const std::string& default_extension) {
  const std::size_t start = default_extension.find_first_not_of("*.");
  return start == std::string::npos ? "" : default_extension.substr(start);
}

std::optional<std::string> Win32Dialogs::SaveDialog(
    const platform::SaveDialogRequest& request) {
  const std::string filter = SaveDialogFilter(request.filter);
  const std::string extension =
      SaveDialogDefaultExtension(request.default_extension);
  char file[MAX_PATH] = {};
  request.file_name.copy(file, MAX_PATH - 1);
  OPENFILENAMEA dialog = {};
  // The size every Windows from 95 and NT 4.0 on accepts.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = ui_.main_window();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!::GetSaveFileNameA(&dialog)) return std::nullopt;
  return std::string(file);
}

std::string Win32Dialogs::TrackPopupMenu(
    const std::vector<platform::MenuItemView>& items, platform::Point at) {
  return TrackPopupMenuFor(application_.Handle(), items, at);
}

}  // namespace plumeta::win32
