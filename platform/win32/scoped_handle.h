// platform/win32: Win32 calls only, in their ANSI ("A") forms. One owner for
// every kind of Win32 handle; each kind is a traits struct below.
#ifndef PLATFORM_WIN32_SCOPED_HANDLE_H_
#define PLATFORM_WIN32_SCOPED_HANDLE_H_

#include "platform/win32/windows_api.h"

// Declarations only: ClosePrinter is linked (winspool) by the code that uses
// printer handles.
#include <winspool.h>

namespace plumeta::win32 {

// Owns one handle and closes it when it goes out of scope. A Traits struct
// gives the handle type and says which value means "no handle" and how to
// close one:
//
//   struct Traits {
//     using Handle = ...;
//     static Handle Invalid();
//     static bool Close(Handle handle);  // true when the system closed it
//   };
//
// Close() closes early and reports the system's answer, for code that must
// check it (a file's CloseHandle can fail when buffered data cannot be
// written); the destructor closes silently.
template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() noexcept : handle_(Traits::Invalid()) {}
  explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { Reset(); }

  Handle Get() const noexcept { return handle_; }
  bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return IsValid(); }

  // Gives the handle up without closing it.
  Handle Release() noexcept {
    Handle handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }

  // Closes the handle held (if any) and takes `handle`.
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    if (IsValid()) Traits::Close(handle_);
    handle_ = handle;
  }

  // Closes now. False when the system refused; the handle is given up either
  // way, so it is never closed twice. True when nothing was held.
  bool Close() noexcept {
    if (!IsValid()) return true;
    return Traits::Close(Release());
  }

  // For calls that return a handle through an out-parameter
  // (RegOpenKeyExA(..., key.Receive())): closes what is held first.
  Handle* Receive() noexcept {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_;
};

// A file, pipe or other kernel object whose "no handle" is
// INVALID_HANDLE_VALUE (what CreateFileA returns on failure).
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) { return ::CloseHandle(handle) != FALSE; }
};

// A search opened with FindFirstFileA.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) { return ::FindClose(handle) != FALSE; }
};

// A process, thread, event or other kernel object whose "no handle" is NULL
// (what OpenProcess returns on failure).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::CloseHandle(handle) != FALSE; }
};

// An opened registry key; never one of the predefined roots (HKEY_*).
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) {
    return ::RegCloseKey(handle) == ERROR_SUCCESS;
  }
};

// A library loaded with LoadLibraryA.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::FreeLibrary(handle) != FALSE; }
};

// Memory the system allocated for the caller with LocalAlloc: security
// descriptors, FormatMessageA's buffers.
struct LocalMemoryTraits {
  using Handle = HLOCAL;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::LocalFree(handle) == nullptr; }
};

// A menu that no window owns (a window destroys its own menu bar).
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::DestroyMenu(handle) != FALSE; }
};

// A pen, brush, font, bitmap or region, not selected into a device context.
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::DeleteObject(handle) != FALSE; }
};

// A printer opened with OpenPrinterA.
struct PrinterTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle handle) { return ::ClosePrinter(handle) != FALSE; }
};

using ScopedFileHandle = ScopedHandle<FileHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedLocalMemory = ScopedHandle<LocalMemoryTraits>;
using ScopedMenu = ScopedHandle<MenuTraits>;
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;
using ScopedPrinter = ScopedHandle<PrinterTraits>;

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_SCOPED_HANDLE_H_
