// Starting host programs from a test: one way to fork and exec a program with
// extra environment and its standard streams on given descriptors, its exit
// code, and a shell command's output.
#ifndef TESTS_HOST_SUPPORT_CHILD_PROCESS_H_
#define TESTS_HOST_SUPPORT_CHILD_PROCESS_H_

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace plumeta::testing {

struct ChildStreams {
  int in = -1;  // -1: the test's own
  int out = -1;
  int err = -1;
};

// Starts `program` (looked up in PATH when it names no folder) with
// `arguments`, `environment` added to the test's, `streams` as its standard
// streams and, unless empty, `folder` as its current folder. Descriptors the
// child should not keep are the caller's to open close-on-exec. The child's
// pid, or -1.
inline pid_t StartChild(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::map<std::string, std::string>& environment = {},
    ChildStreams streams = {}, const std::string& folder = "") {
  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_text) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    for (const auto& [name, value] : environment) {
      ::setenv(name.c_str(), value.c_str(), 1);
    }
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
    if (streams.in >= 0) ::dup2(streams.in, 0);
    if (streams.out >= 0) ::dup2(streams.out, 1);
    if (streams.err >= 0) ::dup2(streams.err, 2);
    ::execvp(program.c_str(), argv.data());
    ::_exit(127);
  }
  return child;
}

// Waits for the child to end: its exit code, -1 when it did not exit
// normally.
inline int ExitCode(pid_t child) {
  int status = 0;
  if (child <= 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Output of a shell command, "" when it could not run; with `exit_code`, the
// command's exit code (-1 when it did not exit normally).
inline std::string ShellOutput(const std::string& command,
                               int* exit_code = nullptr) {
  std::string output;
  if (exit_code != nullptr) *exit_code = -1;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    output.append(buffer, got);
  }
  const int status = ::pclose(pipe);
  if (exit_code != nullptr && WIFEXITED(status)) {
    *exit_code = WEXITSTATUS(status);
  }
  return output;
}

// `text` as one word of a shell command.
inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_CHILD_PROCESS_H_
