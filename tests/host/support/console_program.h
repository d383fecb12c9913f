// A host program running on the console protocol: the test writes command
// lines to its standard input and reads its event lines from standard
// output, each wait bounded by a time-out.
#ifndef TESTS_HOST_SUPPORT_CONSOLE_PROGRAM_H_
#define TESTS_HOST_SUPPORT_CONSOLE_PROGRAM_H_

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/console/console_events.h"

namespace plumeta::testing {

class ConsoleProgram {
 public:
  ConsoleProgram(const std::string& program,
                 const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment) {
    int input[2];
    int output[2];
    if (::pipe(input) != 0 || ::pipe(output) != 0) return;
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
    child_ = ::fork();
    if (child_ == 0) {
      for (const auto& [name, value] : environment) {
        ::setenv(name.c_str(), value.c_str(), 1);
      }
      ::dup2(input[0], 0);
      ::dup2(output[1], 1);
      ::close(input[1]);
      ::close(output[0]);
      std::vector<char*> argv;
      for (std::string& argument : argv_text) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    to_program_ = input[1];
    from_program_ = output[0];
  }
  ~ConsoleProgram() {
    CloseInput();
    if (child_ > 0 && !exit_code_) {
      ::kill(child_, SIGTERM);
      int status;
      ::waitpid(child_, &status, 0);
    }
    if (from_program_ >= 0) ::close(from_program_);
  }
  ConsoleProgram(const ConsoleProgram&) = delete;
  ConsoleProgram& operator=(const ConsoleProgram&) = delete;

  pid_t pid() const { return child_; }

  void Send(const std::string& line) {
    const std::string text = line + "\n";
    if (to_program_ >= 0) {
      [[maybe_unused]] ssize_t written =
          ::write(to_program_, text.data(), text.size());
    }
  }
  void CloseInput() {
    if (to_program_ >= 0) ::close(to_program_);
    to_program_ = -1;
  }

  // The next event with this keyword, split into keyword and fields; the
  // events before it are kept in `seen`. nullopt after `timeout`.
  std::optional<std::vector<std::string>> WaitFor(
      const std::string& keyword,
      std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
      std::string line;
      while (NextLine(&line)) {
        std::vector<std::string> event = host::SplitEventLine(line);
        seen.push_back(line);
        if (!event.empty() && event[0] == keyword) return event;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !Read(static_cast<int>(left.count()))) {
        return std::nullopt;
      }
    }
  }

  // The exit code once the program has ended within `timeout`.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!exit_code_ && std::chrono::steady_clock::now() < deadline) {
      int status;
      if (::waitpid(child_, &status, WNOHANG) == child_) {
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        break;
      }
      ::usleep(20000);
    }
    return exit_code_;
  }

  std::vector<std::string> seen;

 private:
  bool NextLine(std::string* line) {
    const std::size_t end = buffer_.find('\n');
    if (end == std::string::npos) return false;
    *line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    return true;
  }
  // False at the end of output or after the time-out.
  bool Read(int timeout_ms) {
    pollfd ready{from_program_, POLLIN, 0};
    if (::poll(&ready, 1, timeout_ms) <= 0) return false;
    char chunk[4096];
    const ssize_t count = ::read(from_program_, chunk, sizeof chunk);
    if (count <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(count));
    return true;
  }

  pid_t child_ = -1;
  int to_program_ = -1;
  int from_program_ = -1;
  std::string buffer_;
  std::optional<int> exit_code_;
};

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_CONSOLE_PROGRAM_H_
