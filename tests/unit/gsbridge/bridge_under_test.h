// What a suite tells the shared bridge tests: how it reaches the bridge's two
// functions and by which names the bridge finds the fake Ghostscripts.
#ifndef TESTS_UNIT_GSBRIDGE_BRIDGE_UNDER_TEST_H_
#define TESTS_UNIT_GSBRIDGE_BRIDGE_UNDER_TEST_H_

#include <string>
#include <vector>

#include "gsbridge/gsbridge.h"

namespace plumeta::gsbridge::testing {

struct BridgeUnderTest {
  GsBridgeInstallCallBacksFunction install_callbacks;
  GsBridgeCallGSFunction call_gs;
};

// Defined once per suite.
const BridgeUnderTest& Bridge();
// The complete fake Ghostscript, or (entry_point not empty) the one that
// lacks that entry point, as the name CallGS gets.
std::string FakeGhostscript(const std::string& missing_entry_point = "");
// A name that no library answers to.
std::string MissingLibrary();

// Runs CallGS with argv {"gs", args...} after clearing the recorder and
// setting the fake's results; returns the result and the recorded events.
struct BridgeRun {
  int result;
  std::vector<std::string> events;
};
struct FakeResults {
  int new_instance = 0;
  int init_with_args = 0;
  int run_string = 0;
};
BridgeRun CallGhostscript(const std::string& library,
                          const std::vector<std::string>& args = {},
                          FakeResults results = {});
// As above with argc and argv exactly as given.
BridgeRun CallGhostscriptRaw(const char* library, int argc, char** argv,
                             FakeResults results = {});

// Host callbacks that record what they get. The input callback places
// `input_text` (at most the length asked for) and returns `input_result`.
void SetHostInput(const std::string& input_text, int input_result);
void InstallRecordingCallbacks();
// A second pair that records under another name.
void InstallOtherRecordingCallbacks();

// The events of a run that created an instance: the fake's events between
// the set-up and the tear-down.
std::vector<std::string> InstanceRun(const std::vector<std::string>& middle);

}  // namespace plumeta::gsbridge::testing

#endif  // TESTS_UNIT_GSBRIDGE_BRIDGE_UNDER_TEST_H_
