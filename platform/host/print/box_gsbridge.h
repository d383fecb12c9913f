// Host stand-in (Linux only). The box's "gsbridge.dll" is the host's
// libgsbridge.so, and the box's Ghostscript library (gsdll32.dll or
// gsdll64.dll, wherever it lies) is the host's libgs.so.10: a program that
// loads the bridge and calls CallGS with the box's Ghostscript runs the real
// one in-process, with the box's Windows paths in its arguments translated
// as the box's Ghostscript console translates them.
#ifndef PLATFORM_HOST_PRINT_BOX_GSBRIDGE_H_
#define PLATFORM_HOST_PRINT_BOX_GSBRIDGE_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/host/box/box_process.h"
#include "platform/system.h"

namespace plumeta::host {

// The box whose paths CallGS translates; set once, before any call.
void UseBoxForGsBridge(std::shared_ptr<BoxProcess> process);

// The bridge's entry point called `name` ("CallGS", "InstallCallBacks"),
// null for any other.
platform::EntryPoint FindGsBridgeEntry(std::string_view name);

// The library CallGS loads on the host for the name a program gives it.
std::string HostGhostscriptLibrary(std::string_view name);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_PRINT_BOX_GSBRIDGE_H_
