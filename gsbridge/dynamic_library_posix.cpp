// POSIX: dlopen, dlsym, dlclose.
#include <dlfcn.h>

#include "gsbridge/dynamic_library.h"

namespace plumeta::gsbridge {

DynamicLibrary::DynamicLibrary(const char* name) {
  // dlopen(NULL) would hand back the main program; a null name loads nothing.
  if (name != nullptr) handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

DynamicLibrary::Symbol DynamicLibrary::Find(const char* name) const {
  return reinterpret_cast<Symbol>(dlsym(handle_, name));
}

void DynamicLibrary::Release() {
  if (handle_ == nullptr) return;
  dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace plumeta::gsbridge
