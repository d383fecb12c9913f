#include "common/module_list.h"

#include <algorithm>

#include "common/text.h"

namespace plumeta {
bool ModuleList::CaseInsensitiveLess::operator()(const std::string& a,
                                                 const std::string& b) const {
  return NameLess()(a, b);
}

ModuleList::ModuleList(platform::Libraries& libraries)
    : libraries_(libraries) {}

ModuleList::~ModuleList() {
  for (auto& [name, module] : modules_) libraries_.Free(module.handle);
}

platform::EntryPoint ModuleList::Find(const std::string& library,
                                      const std::string& entry) {
  auto it = modules_.find(library);
  if (it == modules_.end()) {
    const platform::Libraries::Handle handle = libraries_.Load(library);
    if (handle == 0) return nullptr;
    it = modules_.emplace(library, Module{handle, {}}).first;
  }
  Module& module = it->second;
  if (auto found = module.found.find(entry); found != module.found.end()) {
    return found->second;
  }
  platform::EntryPoint address = libraries_.Find(module.handle, entry);
  if (address != nullptr) module.found.emplace(entry, address);
  return address;
}

}  // namespace plumeta
