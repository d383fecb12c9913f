// Host stand-in (Linux only). The box's users. A box has one user of its own
// (system.ini's user_name); a host program started with PLUMETA_USER set to
// another name runs as that user, as in another session of the same Windows:
// with its own user name (USERNAME, the owner of the jobs it prints), its own
// profile and temporary folder (the box's user's profile with the last name
// changed, made at the first start), its own HKEY_CURRENT_USER
// (registry/HKEY_CURRENT_USER.<name>.reg) and its own desktop (the top-level
// windows its programs see). HKEY_LOCAL_MACHINE, the system folder and the
// printer are shared, as on Windows.
#ifndef PLATFORM_HOST_BOX_BOX_USER_H_
#define PLATFORM_HOST_BOX_BOX_USER_H_

#include <string>

#include "platform/host/box/system_facts.h"

namespace plumeta::host {

// The environment variable that names the user a host program runs as.
inline constexpr char kUserVariable[] = "PLUMETA_USER";

// $PLUMETA_USER when it names a user other than the box's own (compared
// without regard to case); empty for the box's own user.
std::string OtherUser(const SystemFacts& facts);

// The facts as `user` sees them: the user name, USERNAME, and every
// variable under the box's user's profile (USERPROFILE) moved to `user`'s.
void BecomeUser(SystemFacts* facts, const std::string& user);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BOX_BOX_USER_H_
