// gsbridge.dll as a host program reaches it: loaded by name, its functions
// found by ordinal (the shared tests) and by name, with the fake
// Ghostscript DLLs beside the test program.
#include <windows.h>
//
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/unit/gsbridge/bridge_under_test.h"

namespace plumeta::gsbridge::testing {
namespace {

constexpr const char* kCompleteFake =
    sizeof(void*) == 8 ? "gsdll64.dll" : "gsdll32.dll";

HMODULE BridgeModule() {
  static const HMODULE module = LoadLibraryA("gsbridge.dll");
  return module;
}

template <typename Function>
Function Export(const char* name_or_ordinal) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
      GetProcAddress(BridgeModule(), name_or_ordinal)));
}

}  // namespace

const BridgeUnderTest& Bridge() {
  static const BridgeUnderTest bridge = {
      Export<GsBridgeInstallCallBacksFunction>(MAKEINTRESOURCEA(2)),
      Export<GsBridgeCallGSFunction>(MAKEINTRESOURCEA(1))};
  if (bridge.install_callbacks == nullptr || bridge.call_gs == nullptr) {
    std::fprintf(stderr, "gsbridge.dll or its exports not found (%lu)\n",
                 GetLastError());
    std::abort();
  }
  return bridge;
}

std::string FakeGhostscript(const std::string& missing_entry_point) {
  return missing_entry_point.empty()
             ? kCompleteFake
             : "fake_gs_without_" + missing_entry_point + ".dll";
}

std::string MissingLibrary() { return "no_such_ghostscript.dll"; }

namespace {

TEST(GsbridgeDllTest, ExportsPlainNamesAtOrdinalsOneAndTwo) {
  ASSERT_NE(BridgeModule(), nullptr) << GetLastError();
  struct Row {
    const char* name;
    WORD ordinal;
  };
  for (const Row& row : {Row{"CallGS", 1}, Row{"InstallCallBacks", 2}}) {
    SCOPED_TRACE(row.name);
    FARPROC by_name = GetProcAddress(BridgeModule(), row.name);
    EXPECT_NE(by_name, nullptr);
    EXPECT_EQ(by_name,
              GetProcAddress(BridgeModule(), MAKEINTRESOURCEA(row.ordinal)));
  }
  for (const char* decorated :
       {"CallGS@12", "InstallCallBacks@12", "_CallGS@12",
        "_InstallCallBacks@12", "CallGS@24", "InstallCallBacks@24"}) {
    SCOPED_TRACE(decorated);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetProcAddress(BridgeModule(), decorated), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  }
  EXPECT_EQ(GetProcAddress(BridgeModule(), MAKEINTRESOURCEA(3)), nullptr);
}

TEST(GsbridgeDllTest, LoadsGhostscriptByFullPath) {
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::string path(program, length);
  path = path.substr(0, path.find_last_of('\\') + 1) + kCompleteFake;
  InstallRecordingCallbacks();

  const BridgeRun run = CallGhostscript(path, {"stdout:ok"});
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, InstanceRun({"gsapi_init_with_args argc=2 argv0=gs",
                                     "host output 'ok' 2", "stdout wrote 2",
                                     "gsapi_run_string user_errors=0"}));
}

}  // namespace
}  // namespace plumeta::gsbridge::testing
