// Runs a host program to its end: its arguments, standard input and extra
// environment in; its exit status, standard output and error out.
#ifndef TESTS_HOST_SUPPORT_PROGRAM_RUN_H_
#define TESTS_HOST_SUPPORT_PROGRAM_RUN_H_

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/unit/support/temp_folder.h"

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
  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_text) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t child = ::fork();
  if (child == 0) {
    for (const auto& [name, value] : environment) {
      ::setenv(name.c_str(), value.c_str(), 1);
    }
    int in = ::open((files / "in").c_str(), O_RDONLY);
    int out = ::open((files / "out").c_str(), O_WRONLY | O_CREAT, 0600);
    int err = ::open((files / "err").c_str(), O_WRONLY | O_CREAT, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ProgramResult result;
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  }
  result.out = ReadText(files / "out");
  result.err = ReadText(files / "err");
  return result;
}

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_PROGRAM_RUN_H_
