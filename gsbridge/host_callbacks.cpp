#include "gsbridge/host_callbacks.h"

#include <atomic>

#include "gsbridge/gsbridge.h"

namespace plumeta::gsbridge {
namespace {

// Process-wide, zero until the first InstallCallBacks. Atomic so that a host
// that installs callbacks on one thread and converts on another reads whole
// pointers; the host still must not swap them during a CallGS.
std::atomic<GsBridgeInputCallback> input_callback{nullptr};
std::atomic<GsBridgeOutputCallback> output_callback{nullptr};
std::atomic<void*> reserved_value{nullptr};

}  // namespace

int GSBRIDGE_GSAPI_CALL StdinRelay(void* /*caller*/, char* buffer, int length) {
  GsBridgeInputCallback input = input_callback.load();
  return input != nullptr ? input(buffer, length) : 0;
}

int GSBRIDGE_GSAPI_CALL OutputRelay(void* /*caller*/, const char* text,
                                    int length) {
  // Length 0 tells the host that the text is a NUL-terminated message of the
  // bridge's own; an empty piece from Ghostscript is not one, so it is not
  // passed on.
  if (length <= 0) return 0;
  GsBridgeOutputCallback output = output_callback.load();
  if (output != nullptr) output(text, length);
  return length;
}

void SendBridgeMessage(const char* message) {
  GsBridgeOutputCallback output = output_callback.load();
  if (output != nullptr) output(message, 0);
}

}  // namespace plumeta::gsbridge

extern "C" void GSBRIDGE_CALL InstallCallBacks(GsBridgeInputCallback input,
                                               GsBridgeOutputCallback output,
                                               void* reserved) {
  plumeta::gsbridge::input_callback.store(input);
  plumeta::gsbridge::output_callback.store(output);
  plumeta::gsbridge::reserved_value.store(reserved);
}
