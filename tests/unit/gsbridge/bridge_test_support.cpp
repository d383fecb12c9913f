#include <string>
#include <vector>

#include "bridge_under_test.h"
#include "recorder.h"

namespace plumeta::gsbridge::testing {
namespace {

std::string host_input_text;
int host_input_result = 0;

void RecordHostInput(const char* who, char* buffer, int length) {
  FakeGsRecord((std::string(who) + " input " + std::to_string(length)).c_str());
  const std::size_t count =
      std::min(host_input_text.size(), static_cast<std::size_t>(length));
  host_input_text.copy(buffer, count);
}

void RecordHostOutput(const char* who, const char* text, int length) {
  // Length 0 carries a NUL-terminated message of the bridge's own; anything
  // else is exactly `length` bytes of Ghostscript's output.
  const std::string event =
      length == 0 ? std::string(who) + " message '" + text + "'"
                  : std::string(who) + " output '" + std::string(text, length) +
                        "' " + std::to_string(length);
  FakeGsRecord(event.c_str());
}

int GSBRIDGE_CALL HostInput(char* buffer, int length) {
  RecordHostInput("host", buffer, length);
  return host_input_result;
}
void GSBRIDGE_CALL HostOutput(const char* text, int length) {
  RecordHostOutput("host", text, length);
}
int GSBRIDGE_CALL OtherHostInput(char* buffer, int length) {
  RecordHostInput("other host", buffer, length);
  return host_input_result;
}
void GSBRIDGE_CALL OtherHostOutput(const char* text, int length) {
  RecordHostOutput("other host", text, length);
}

std::vector<std::string> TakeEvents() {
  std::string log(FakeGsLog(nullptr, 0) + 1, '\0');
  log.resize(FakeGsLog(log.data(), static_cast<int>(log.size())));
  std::vector<std::string> events;
  std::size_t start = 0;
  for (std::size_t end; (end = log.find('\n', start)) != std::string::npos;
       start = end + 1) {
    events.push_back(log.substr(start, end - start));
  }
  return events;
}

}  // namespace

BridgeRun CallGhostscriptRaw(const char* library, int argc, char** argv,
                             FakeResults results) {
  FakeGsReset();
  FakeGsSetResult(kFakeGsNewInstance, results.new_instance);
  FakeGsSetResult(kFakeGsInitWithArgs, results.init_with_args);
  FakeGsSetResult(kFakeGsRunString, results.run_string);
  const int result = Bridge().call_gs(library, argc, argv);
  return {result, TakeEvents()};
}

BridgeRun CallGhostscript(const std::string& library,
                          const std::vector<std::string>& args,
                          FakeResults results) {
  std::vector<std::string> strings = {"gs"};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  return CallGhostscriptRaw(library.c_str(), static_cast<int>(strings.size()),
                            argv.data(), results);
}

void SetHostInput(const std::string& input_text, int input_result) {
  host_input_text = input_text;
  host_input_result = input_result;
}

void InstallRecordingCallbacks() {
  Bridge().install_callbacks(HostInput, HostOutput, nullptr);
}

void InstallOtherRecordingCallbacks() {
  Bridge().install_callbacks(OtherHostInput, OtherHostOutput, nullptr);
}

std::vector<std::string> InstanceRun(const std::vector<std::string>& middle) {
  std::vector<std::string> events = {"load", "gsapi_new_instance",
                                     "gsapi_set_stdio"};
  events.insert(events.end(), middle.begin(), middle.end());
  events.insert(events.end(),
                {"gsapi_exit", "gsapi_delete_instance", "unload"});
  return events;
}

}  // namespace plumeta::gsbridge::testing
