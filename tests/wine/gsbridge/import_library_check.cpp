// Links gsbridge.dll through its import library, as a host program written
// against gsbridge.h does, and makes one call that needs no Ghostscript.
#include <cstring>

#include "gsbridge/gsbridge.h"

namespace {

int messages = 0;
bool message_matches = false;

void GSBRIDGE_CALL CountMessages(const char* text, int length) {
  if (length != 0) return;
  ++messages;
  message_matches = std::strcmp(text, "Could not load GhostScript!") == 0;
}

}  // namespace

int main() {
  InstallCallBacks(nullptr, CountMessages, nullptr);
  char program[] = "gs";
  char* argv[] = {program, nullptr};
  const int result = CallGS("no_such_ghostscript.dll", 1, argv);
  return result == 0 && messages == 1 && message_matches ? 0 : 1;
}
