// The Windows window messages and parameters the portable code speaks, by
// their Win32 numbers: the tray icon's handler reads them, the host stand-ins
// and tests send them. platform/win32/window_messages_check.cpp holds each
// number against <windows.h>.
#ifndef PLATFORM_WINDOW_MESSAGES_H_
#define PLATFORM_WINDOW_MESSAGES_H_

#include <cstdint>

namespace plumeta::platform {

inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQueryEndSession = 0x0011;
inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmEndSession = 0x0016;
inline constexpr std::uint32_t kWmShowWindow = 0x0018;
inline constexpr std::uint32_t kWmWindowPosChanged = 0x0047;
inline constexpr std::uint32_t kWmNcDestroy = 0x0082;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmWtsSessionChange = 0x02B1;
// WM_USER + 1024: the tray icon's callback message.
inline constexpr std::uint32_t kWmTrayIconCallback = 0x0800;

// WM_SIZE's SIZE_MINIMIZED, WM_SYSCOMMAND's SC_RESTORE; the low four bits of
// a WM_SYSCOMMAND's wParam are the system's own.
inline constexpr std::uintptr_t kSizeMinimized = 1;
inline constexpr std::uintptr_t kScRestore = 0xF120;
inline constexpr std::uintptr_t kSysCommandMask = 0xFFF0;

// WM_WTSSESSION_CHANGE's wParam: what happened to the session.
inline constexpr std::uintptr_t kWtsConsoleConnect = 0x1;
inline constexpr std::uintptr_t kWtsConsoleDisconnect = 0x2;
inline constexpr std::uintptr_t kWtsRemoteConnect = 0x3;
inline constexpr std::uintptr_t kWtsRemoteDisconnect = 0x4;
inline constexpr std::uintptr_t kWtsSessionLogon = 0x5;
inline constexpr std::uintptr_t kWtsSessionLogoff = 0x6;
inline constexpr std::uintptr_t kWtsSessionLock = 0x7;
inline constexpr std::uintptr_t kWtsSessionUnlock = 0x8;

}  // namespace plumeta::platform

#endif  // PLATFORM_WINDOW_MESSAGES_H_
