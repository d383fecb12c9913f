// POSIX: dlopen, dlsym, dlclose.
#include <dlfcn.h>

#include "gsbridge/dynamic_library.h"

namespace plumeta::gsbridge {

DynamicLibrary::DynamicLibrary(const char* name) {
  // dlopen of NULL or of "" hands back the main program; such a name loads
  // nothing.
  if (name != nullptr && *name != '\0') {
    handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  }
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
