// The libraries a program loaded to find optional entry points, each loaded
// once and freed when the list goes (at program end).
#ifndef COMMON_MODULE_LIST_H_
#define COMMON_MODULE_LIST_H_

#include <map>
#include <string>

#include "platform/libraries.h"

namespace plumeta {

class ModuleList {
 public:
  explicit ModuleList(platform::Libraries& libraries);
  ~ModuleList();
  ModuleList(const ModuleList&) = delete;
  ModuleList& operator=(const ModuleList&) = delete;

  // The library's entry point, or null. The library is loaded on first use
  // (its name compared without regard to case); an address once found is
  // kept, a lookup that found nothing is tried again next time.
  platform::EntryPoint Find(const std::string& library,
                            const std::string& entry);

 private:
  struct Module {
    platform::Libraries::Handle handle = 0;
    std::map<std::string, platform::EntryPoint> found;
  };
  struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  platform::Libraries& libraries_;
  std::map<std::string, Module, CaseInsensitiveLess> modules_;
};

}  // namespace plumeta

#endif  // COMMON_MODULE_LIST_H_
