// A stand-in for the tray monitor's process in the wine suite: a program
// named plumeta.exe that does nothing until it is ended from outside.
#include <windows.h>

int main() {
  for (;;) ::Sleep(1000);
}
