// Host stand-in (Linux only). Where the box is and what is where inside it:
//
//   <box>/system.ini   the virtual Windows's facts (system_facts.h)
//   <box>/registry/    the hives as REGEDIT4 files (file_hive_store.h)
//   <box>/drive_c/     drive C: (box_paths.h); drive_d/ ... are D: ...
#ifndef PLATFORM_HOST_BOX_BOX_H_
#define PLATFORM_HOST_BOX_BOX_H_

#include <optional>
#include <string>

#include "platform/host/box/system_facts.h"

namespace plumeta::host {

// The environment variable that names the box's folder.
inline constexpr char kBoxVariable[] = "PLUMETA_BOX";

// The box used when PLUMETA_BOX is not set: $HOME/.plumeta/box.
std::string DefaultBoxFolder();
// $PLUMETA_BOX when it is set and not empty, else DefaultBoxFolder().
std::string BoxFolder();

std::string SystemIniPath(const std::string& box_folder);
std::string RegistryFolder(const std::string& box_folder);
// The Linux folder of drive `letter` ('C' or 'c': <box>/drive_c).
std::string DriveFolder(const std::string& box_folder, char letter);

// Reads the box's system.ini; nullopt with `error` when the box has none or
// it cannot be read.
std::optional<SystemFacts> LoadSystemFacts(const std::string& box_folder,
                                           std::string* error);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_BOX_H_
