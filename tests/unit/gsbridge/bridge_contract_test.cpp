// The bridge's behaviour against the fake Ghostscripts, shared by the unit
// suite (libgsbridge.so) and the wine suite (gsbridge.dll).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge_under_test.h"

namespace plumeta::gsbridge::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Events = std::vector<std::string>;

constexpr char kInitPlain[] = "gsapi_init_with_args argc=1 argv0=gs";
constexpr char kRunString[] = "gsapi_run_string user_errors=0";

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHostInput("", 0);
    InstallRecordingCallbacks();
  }
};

TEST_F(BridgeTest,
       EveryDetectedFailureSendsOneMessageAfterReleasingTheLibrary) {
  struct Row {
    std::string name;
    std::string library;
    FakeResults results;
    Events events;
  };
  std::vector<Row> rows = {
      {"library cannot be loaded",
       MissingLibrary(),
       {},
       {"host message 'Could not load GhostScript!'"}},
      {"gsapi_new_instance fails with -100",
       FakeGhostscript(),
       {.new_instance = -100},
       {"load", "gsapi_new_instance", "unload",
        "host message 'Error calling API function in GhostScript: "
        "gsapi_new_instance!'"}},
      {"gsapi_new_instance fails with -1",
       FakeGhostscript(),
       {.new_instance = -1},
       {"load", "gsapi_new_instance", "unload",
        "host message 'Error calling API function in GhostScript: "
        "gsapi_new_instance!'"}},
  };
  // A missing entry point: released before the message, nothing called.
  for (const char* entry_point :
       {"gsapi_new_instance", "gsapi_set_stdio", "gsapi_init_with_args",
        "gsapi_run_string", "gsapi_exit", "gsapi_delete_instance"}) {
    rows.push_back({std::string("without ") + entry_point,
                    FakeGhostscript(entry_point),
                    {},
                    {"load", "unload",
                     std::string("host message 'Could not load API function "
                                 "in GhostScript: ") +
                         entry_point + "!'"}});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const BridgeRun run = CallGhostscript(row.library, {}, row.results);
    EXPECT_EQ(run.result, 0);
    EXPECT_THAT(run.events, ElementsAreArray(row.events));
  }
}

TEST_F(BridgeTest, GhostscriptCodesDecideTheResultWithoutMessages) {
  struct Row {
    std::string name;
    FakeResults results;
    int result;
    Events middle;  // between gsapi_set_stdio and gsapi_exit
  };
  const std::vector<Row> rows = {
      {"init 0, run 0", {}, 1, {kInitPlain, kRunString}},
      {"init 0, run quits (-101)",
       {.run_string = -101},
       1,
       {kInitPlain, kRunString}},
      {"init 0, run fails (-100)",
       {.run_string = -100},
       0,
       {kInitPlain, kRunString}},
      {"init 0, run returns 1", {.run_string = 1}, 0, {kInitPlain, kRunString}},
      {"init quits (-101): no run", {.init_with_args = -101}, 1, {kInitPlain}},
      {"init fails (-100): no run", {.init_with_args = -100}, 0, {kInitPlain}},
      {"init fails (-21): no run", {.init_with_args = -21}, 0, {kInitPlain}},
      {"init returns 1: no run", {.init_with_args = 1}, 0, {kInitPlain}},
      {"new instance returns 1 (success)",
       {.new_instance = 1},
       1,
       {kInitPlain, kRunString}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const BridgeRun run = CallGhostscript(FakeGhostscript(), {}, row.results);
    EXPECT_EQ(run.result, row.result);
    EXPECT_THAT(run.events, ElementsAreArray(InstanceRun(row.middle)));
  }
}

TEST_F(BridgeTest, RelaysPassDataBothWaysUnchanged) {
  struct Row {
    std::string name;
    std::vector<std::string> script;
    std::string input_text;
    int input_result;
    Events relay_events;
  };
  const std::vector<Row> rows = {
      {"standard output",
       {"stdout:hello"},
       "",
       0,
       {"host output 'hello' 5", "stdout wrote 5"}},
      {"standard error arrives like output",
       {"stderr:oops"},
       "",
       0,
       {"host output 'oops' 4", "stderr wrote 4"}},
      {"a piece without NUL arrives with its length",
       {"stdout-part:3:hello"},
       "",
       0,
       {"host output 'hel' 3", "stdout wrote 3"}},
      {"output and error keep their order",
       {"stdout:a", "stderr:bc", "stdout:def"},
       "",
       0,
       {"host output 'a' 1", "stdout wrote 1", "host output 'bc' 2",
        "stderr wrote 2", "host output 'def' 3", "stdout wrote 3"}},
      {"an empty piece is not taken for a bridge message",
       {"stdout:"},
       "",
       0,
       {"stdout wrote 0"}},
      {"input: part of the buffer",
       {"stdin:8"},
       "abc",
       3,
       {"host input 8", "stdin read 3 'abc'"}},
      {"input: the whole buffer",
       {"stdin:8"},
       "abcdefgh",
       8,
       {"host input 8", "stdin read 8 'abcdefgh'"}},
      {"input: end (0)",
       {"stdin:8"},
       "",
       0,
       {"host input 8", "stdin read 0 ''"}},
      {"input: error (-1)",
       {"stdin:8"},
       "",
       -1,
       {"host input 8", "stdin read -1 ''"}},
      {"input: any negative value",
       {"stdin:16"},
       "",
       -7,
       {"host input 16", "stdin read -7 ''"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SetHostInput(row.input_text, row.input_result);
    const BridgeRun run = CallGhostscript(FakeGhostscript(), row.script);
    EXPECT_EQ(run.result, 1);
    Events middle = {"gsapi_init_with_args argc=" +
                     std::to_string(row.script.size() + 1) + " argv0=gs"};
    middle.insert(middle.end(), row.relay_events.begin(),
                  row.relay_events.end());
    middle.push_back(kRunString);
    EXPECT_THAT(run.events, ElementsAreArray(InstanceRun(middle)));
  }
}

TEST_F(BridgeTest, TheLastInstalledCallbacksAreUsed) {
  InstallOtherRecordingCallbacks();
  SetHostInput("z", 1);

  const BridgeRun run =
      CallGhostscript(FakeGhostscript(), {"stdin:4", "stdout:x"});
  EXPECT_EQ(run.result, 1);
  EXPECT_THAT(run.events,
              ElementsAreArray(InstanceRun(
                  {"gsapi_init_with_args argc=3 argv0=gs", "other host input 4",
                   "stdin read 1 'z'", "other host output 'x' 1",
                   "stdout wrote 1", kRunString})));

  const BridgeRun failed = CallGhostscript(MissingLibrary());
  EXPECT_THAT(failed.events,
              ElementsAre("other host message 'Could not load GhostScript!'"));
}

TEST_F(BridgeTest, EmptySlotsGiveEmptyInputAndDropOutput) {
  Bridge().install_callbacks(nullptr, nullptr, nullptr);

  const BridgeRun run =
      CallGhostscript(FakeGhostscript(), {"stdin:4", "stdout:x"});
  EXPECT_EQ(run.result, 1);
  EXPECT_THAT(run.events,
              ElementsAreArray(InstanceRun(
                  {"gsapi_init_with_args argc=3 argv0=gs", "stdin read 0 ''",
                   "stdout wrote 1", kRunString})));

  const BridgeRun failed = CallGhostscript(MissingLibrary());
  EXPECT_EQ(failed.result, 0);
  EXPECT_THAT(failed.events, IsEmpty());
}

TEST_F(BridgeTest, UnusableArgumentsAreRefusedBeforeLoadingAnything) {
  const std::string fake = FakeGhostscript();
  char program[] = "gs";
  char step[] = "stdout:x";
  char* valid[] = {program, step, nullptr};
  char* hole[] = {program, nullptr, step};
  const Events refused = {"host message 'Invalid arguments for GhostScript!'"};
  struct Row {
    std::string name;
    const char* library;
    int argc;
    char** argv;
    int result;
    Events events;
  };
  const std::vector<Row> rows = {
      {"negative argc", fake.c_str(), -1, valid, 0, refused},
      {"no argv for two arguments", fake.c_str(), 2, nullptr, 0, refused},
      {"a null argument", fake.c_str(), 3, hole, 0, refused},
      {"no library name",
       nullptr,
       2,
       valid,
       0,
       {"host message 'Could not load GhostScript!'"}},
      {"no arguments at all go to Ghostscript", fake.c_str(), 0, nullptr, 1,
       InstanceRun({"gsapi_init_with_args argc=0 argv0=-", kRunString})},
      {"argc, not the array's end, counts", fake.c_str(), 1, valid, 1,
       InstanceRun({kInitPlain, kRunString})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const BridgeRun run = CallGhostscriptRaw(row.library, row.argc, row.argv);
    EXPECT_EQ(run.result, row.result);
    EXPECT_THAT(run.events, ElementsAreArray(row.events));
  }
}

}  // namespace
}  // namespace plumeta::gsbridge::testing
