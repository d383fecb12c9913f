// A host program started for a test and left running: its pid, a wait for
// the first line it writes, and the end of it (reaped) when the test is done.
#ifndef TESTS_HOST_SUPPORT_BACKGROUND_PROGRAM_H_
#define TESTS_HOST_SUPPORT_BACKGROUND_PROGRAM_H_

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "tests/host/support/child_process.h"

namespace plumeta::testing {

class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program,
                    const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment) {
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return;
    pid_ = StartChild(program, arguments, environment, {.out = pipe_ends[1]});
    ::close(pipe_ends[1]);
    output_ = pipe_ends[0];
  }
  ~BackgroundProgram() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  pid_t pid() const { return pid_; }

  // The first line the program writes, or "" when none came in time.
  std::string FirstLine(int timeout_ms = 5000) {
    std::string line;
    pollfd wait_for{output_, POLLIN, 0};
    while (::poll(&wait_for, 1, timeout_ms) == 1) {
      char c = 0;
      if (::read(output_, &c, 1) != 1 || c == '\n') break;
      line += c;
    }
    return line;
  }

  // Whether the program has ended (reaping it); waits up to `timeout_ms`.
  bool Ended(int timeout_ms = 0, int* signal_number = nullptr) {
    for (int waited = 0;; waited += 10) {
      int status = 0;
      if (reaped_ || ::waitpid(pid_, &status, WNOHANG) == pid_) {
        if (!reaped_ && signal_number != nullptr && WIFSIGNALED(status)) {
          *signal_number = WTERMSIG(status);
        }
        reaped_ = true;
        return true;
      }
      if (waited >= timeout_ms) return false;
      ::usleep(10000);
    }
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  bool reaped_ = false;
};

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_BACKGROUND_PROGRAM_H_
