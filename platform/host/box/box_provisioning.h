// Host stand-in (Linux only). Making a fresh box for one Windows version:
// its system.ini, the registry hives with the keys Windows has and the
// programs use, and drive C: with the Windows folder, system32 (and SysWOW64
// on 64-bit Windows), the spool folder, the user's profile and temporary
// folder.
#ifndef PLATFORM_HOST_BOX_BOX_PROVISIONING_H_
#define PLATFORM_HOST_BOX_BOX_PROVISIONING_H_

#include <string>

#include "platform/host/box/windows_editions.h"
#include "platform/host/registry/hive.h"

namespace plumeta::host {

// Makes the box in `folder` (created if missing). A box already there is
// replaced whole; a folder that is neither empty nor a box (it has no
// system.ini) is refused, so that a mistyped folder is not wiped.
bool CreateBox(const std::string& folder, const WindowsEdition& edition,
               std::string* error);

// The keys and values a fresh box's hives hold.
void AddWindowsKeys(const WindowsEdition& edition, Hive* machine, Hive* user);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_BOX_PROVISIONING_H_
