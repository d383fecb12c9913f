// platform/win32: Win32 calls only, in their ANSI ("A") forms. Nothing to
// run: the build fails if a number in platform/window_messages.h is not the
// system's own.
#include "platform/win32/windows_api.h"
#include "platform/window_messages.h"

namespace plumeta::platform {

static_assert(kWmNull == WM_NULL);
static_assert(kWmDestroy == WM_DESTROY);
static_assert(kWmSize == WM_SIZE);
static_assert(kWmClose == WM_CLOSE);
static_assert(kWmQueryEndSession == WM_QUERYENDSESSION);
static_assert(kWmQuit == WM_QUIT);
static_assert(kWmEndSession == WM_ENDSESSION);
static_assert(kWmShowWindow == WM_SHOWWINDOW);
static_assert(kWmWindowPosChanged == WM_WINDOWPOSCHANGED);
static_assert(kWmNcDestroy == WM_NCDESTROY);
static_assert(kWmSysCommand == WM_SYSCOMMAND);
static_assert(kWmLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(kWmRButtonDown == WM_RBUTTONDOWN);
static_assert(kWmRButtonUp == WM_RBUTTONUP);
static_assert(kWmWtsSessionChange == WM_WTSSESSION_CHANGE);
static_assert(kWmTrayIconCallback == WM_USER + 1024);
static_assert(kSizeMinimized == SIZE_MINIMIZED);
static_assert(kScRestore == SC_RESTORE);
static_assert(kWtsConsoleConnect == WTS_CONSOLE_CONNECT);
static_assert(kWtsConsoleDisconnect == WTS_CONSOLE_DISCONNECT);
static_assert(kWtsRemoteConnect == WTS_REMOTE_CONNECT);
static_assert(kWtsRemoteDisconnect == WTS_REMOTE_DISCONNECT);
static_assert(kWtsSessionLogon == WTS_SESSION_LOGON);
static_assert(kWtsSessionLogoff == WTS_SESSION_LOGOFF);
static_assert(kWtsSessionLock == WTS_SESSION_LOCK);
static_assert(kWtsSessionUnlock == WTS_SESSION_UNLOCK);

}  // namespace plumeta::platform
