// The Linux library: libgsbridge.so linked into the test program, the fake
// Ghostscripts loaded by full path.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "bridge_under_test.h"

namespace plumeta::gsbridge::testing {

const BridgeUnderTest& Bridge() {
  static const BridgeUnderTest bridge = {InstallCallBacks, CallGS};
  return bridge;
}

std::string FakeGhostscript(const std::string& missing_entry_point) {
  const std::string name = missing_entry_point.empty()
                               ? "fake_gs"
                               : "fake_gs_without_" + missing_entry_point;
  return std::string(FAKE_GHOSTSCRIPT_DIR) + "/" + name + ".so";
}

std::string MissingLibrary() {
  return std::string(FAKE_GHOSTSCRIPT_DIR) + "/no_such_ghostscript.so";
}

namespace {

TEST(GsbridgeLibraryTest, ExportsBothFunctionsByName) {
  void* library = dlopen(GSBRIDGE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_EQ(dlsym(library, "CallGS"), reinterpret_cast<void*>(&CallGS));
  EXPECT_EQ(dlsym(library, "InstallCallBacks"),
            reinterpret_cast<void*>(&InstallCallBacks));
  // Nothing of the bridge's own inside is exported.
  EXPECT_EQ(dlsym(library, "_ZN7plumeta8gsbridge10StdinRelayEPvPci"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace plumeta::gsbridge::testing
