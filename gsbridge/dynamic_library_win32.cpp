// Windows: LoadLibraryA, GetProcAddress, FreeLibrary.
#include <windows.h>

#include "gsbridge/dynamic_library.h"

namespace plumeta::gsbridge {

DynamicLibrary::DynamicLibrary(const char* name) {
  if (name != nullptr) handle_ = LoadLibraryA(name);
}

DynamicLibrary::Symbol DynamicLibrary::Find(const char* name) const {
  return reinterpret_cast<Symbol>(
      GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void DynamicLibrary::Release() {
  if (handle_ == nullptr) return;
  FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace plumeta::gsbridge
