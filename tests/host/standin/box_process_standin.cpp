// A box program that only exists: it registers itself as one of the box's
// processes under the name it is given ("plumeta.exe" when none is), says
// "ready" on standard output, and waits until it is ended.
#include <unistd.h>

#include <iostream>
#include <string>

#include "platform/host/box/box.h"
#include "platform/host/kernel/processes.h"

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "plumeta.exe";
  plumeta::host::HostProcesses processes(plumeta::host::BoxFolder(), name);
  std::cout << "ready" << std::endl;
  for (;;) ::pause();
}
