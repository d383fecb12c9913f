// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/libraries.h"

#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

namespace {

HMODULE ModuleOf(platform::Libraries::Handle library) {
  return reinterpret_cast<HMODULE>(library);
}

}  // namespace

platform::Libraries::Handle Win32Libraries::Load(const std::string& name) {
  return reinterpret_cast<Handle>(::LoadLibraryA(name.c_str()));
}

platform::EntryPoint Win32Libraries::Find(Handle library,
                                          const std::string& name) {
  if (library == 0) return nullptr;
  return reinterpret_cast<platform::EntryPoint>(
      ::GetProcAddress(ModuleOf(library), name.c_str()));
}

void Win32Libraries::Free(Handle library) {
  if (library != 0) ::FreeLibrary(ModuleOf(library));
}

}  // namespace plumeta::win32
