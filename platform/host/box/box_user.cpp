#include "platform/host/box/box_user.h"

#include <cstdlib>

#include "common/text.h"

namespace plumeta::host {

std::string OtherUser(const SystemFacts& facts) {
  const char* user = std::getenv(kUserVariable);
  if (user == nullptr || *user == '\0' || SameName(user, facts.user_name)) {
    return "";
  }
  return user;
}

void BecomeUser(SystemFacts* facts, const std::string& user) {
  const std::string old_profile =
      facts->Environment("USERPROFILE").value_or("");
  const std::size_t name_at = old_profile.find_last_of('\\');
  if (name_at != std::string::npos && old_profile.size() > 2) {
    const std::string new_profile = old_profile.substr(0, name_at + 1) + user;
    // The profile's path with its drive (C:\Users\User) or without it
    // (HOMEPATH), where a whole folder name ends.
    const std::string old_tail = old_profile.substr(2);
    for (auto& [name, value] : facts->environment) {
      const std::size_t at = AsciiUpper(value).find(AsciiUpper(old_tail));
      const std::size_t end = at + old_tail.size();
      if (at == std::string::npos || (end < value.size() && value[end] != '\\'))
        continue;
      value.replace(at, old_tail.size(), new_profile.substr(2));
    }
  }
  if (facts->Environment("USERNAME")) facts->SetEnvironment("USERNAME", user);
  facts->user_name = user;
}

}  // namespace plumeta::host
