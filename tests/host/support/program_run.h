// Runs a host program to its end: its arguments, standard input and extra
// environment in; its exit status, standard output and error out.
#ifndef TESTS_HOST_SUPPORT_PROGRAM_RUN_H_
#define TESTS_HOST_SUPPORT_PROGRAM_RUN_H_

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "tests/host/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace plumeta::testing {

struct ProgramResult {
  int exit_code = -1;  // -1: it did not exit normally
  std::string out;
  std::string err;
};

inline ProgramResult RunProgram(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::map<std::string, std::string>& environment = {},
    const std::string& input = "") {
  TempFolder files;
  WriteText(files / "in", input);
  ProgramResult result;
  const int in = ::open((files / "in").c_str(), O_RDONLY | O_CLOEXEC);
  const int out =
      ::open((files / "out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  const int err =
      ::open((files / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (in >= 0 && out >= 0 && err >= 0) {
    result.exit_code =
        ExitCode(StartChild(program, arguments, environment, {in, out, err}));
  }
  for (int descriptor : {in, out, err}) {
    if (descriptor >= 0) ::close(descriptor);
  }
  result.out = ReadText(files / "out");
  result.err = ReadText(files / "err");
  return result;
}

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_PROGRAM_RUN_H_
