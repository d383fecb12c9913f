// Libraries with named entry points a test chooses; counts loads and frees.
#ifndef TESTS_UNIT_SUPPORT_FAKE_LIBRARIES_H_
#define TESTS_UNIT_SUPPORT_FAKE_LIBRARIES_H_

#include <map>
#include <set>
#include <string>

#include "platform/libraries.h"

namespace plumeta::testing {

class FakeLibraries : public platform::Libraries {
 public:
  // Library name (as loaded, any case) -> entry points it exports.
  std::map<std::string, std::set<std::string>> exports;
  int loads = 0;
  int frees = 0;
  int lookups = 0;

  Handle Load(const std::string& name) override {
    for (const auto& [library, entries] : exports) {
      if (SameName(library, name)) {
        ++loads;
        return reinterpret_cast<Handle>(&entries);
      }
    }
    return 0;
  }
  platform::EntryPoint Find(Handle library, const std::string& name) override {
    ++lookups;
    const auto* entries =
        reinterpret_cast<const std::set<std::string>*>(library);
    auto it = entries->find(name);
    return it == entries->end() ? nullptr : const_cast<std::string*>(&*it);
  }
  void Free(Handle) override { ++frees; }

 private:
  static bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    }
    return true;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_LIBRARIES_H_
