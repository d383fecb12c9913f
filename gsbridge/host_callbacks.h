// The host's callbacks as installed by InstallCallBacks, and the relays that
// Ghostscript calls for its standard input, output and error.
#ifndef GSBRIDGE_HOST_CALLBACKS_H_
#define GSBRIDGE_HOST_CALLBACKS_H_

#include "gsbridge/gsapi.h"

namespace plumeta::gsbridge {

// Ghostscript's input function: asks the host's input callback.
int GSBRIDGE_GSAPI_CALL StdinRelay(void* caller, char* buffer, int length);

// Ghostscript's output and error function: hands the piece to the host's
// output callback and tells Ghostscript all of it was written.
int GSBRIDGE_GSAPI_CALL OutputRelay(void* caller, const char* text, int length);

// Sends one of the bridge's own messages: the text with the length 0.
void SendBridgeMessage(const char* message);

}  // namespace plumeta::gsbridge

#endif  // GSBRIDGE_HOST_CALLBACKS_H_
