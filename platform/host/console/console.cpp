// Host stand-in (Linux only).
#include "platform/host/console/console.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/host/console/console_events.h"

namespace plumeta::host {

ConsoleCommand ParseConsoleCommand(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
    line.remove_prefix(1);
  }
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return {std::string(line), ""};
  return {std::string(line.substr(0, space)),
          std::string(line.substr(space + 1))};
}

Console::Console(int input_fd, std::ostream& events, std::ostream& errors)
    : input_fd_(input_fd), events_(events), errors_(errors) {}

Console& Console::Instance() {
  static Console console(STDIN_FILENO, std::cout, std::cerr);
  return console;
}

void Console::Event(std::string_view keyword,
                    std::initializer_list<std::string_view> fields) {
  events_ << EventLine(keyword, fields) << '\n';
  events_.flush();
}

void Console::Refuse(std::string_view line, std::string_view reason) {
  errors_ << "refused: " << EscapeEventField(line) << " (" << reason << ")\n";
  errors_.flush();
}

void Console::RegisterCommand(const std::string& keyword, Handler handler) {
  commands_[keyword] = std::move(handler);
}

void Console::UnregisterCommand(const std::string& keyword) {
  commands_.erase(keyword);
}

void Console::Poll(int timeout_ms) {
  if (!lines_.empty()) return;
  if (at_end_) {
    if (timeout_ms > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
    }
    return;
  }
  pollfd input{input_fd_, POLLIN, 0};
  const int ready = ::poll(&input, 1, timeout_ms);
  if (ready > 0) ReadAvailable();
}

void Console::ReadAvailable() {
  char buffer[4096];
  const ssize_t count = ::read(input_fd_, buffer, sizeof buffer);
  if (count < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (count <= 0) {
    at_end_ = true;
    // A last line without its line end still counts.
    if (!partial_.empty()) lines_.push_back(std::move(partial_));
    partial_.clear();
    return;
  }
  partial_.append(buffer, static_cast<std::size_t>(count));
  std::size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    lines_.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
}

bool Console::DispatchOne() {
  // An answered dialog takes no more lines; they wait until it has closed.
  if (lines_.empty() || (!dialogs_.empty() && dialogs_.back()->answer_)) {
    return false;
  }
  const std::string line = std::move(lines_.front());
  lines_.pop_front();
  ConsoleCommand command = ParseConsoleCommand(line);
  if (command.keyword.empty()) return true;
  if (!dialogs_.empty()) {
    Dialog& dialog = *dialogs_.back();
    if (!dialog.filter_(command)) {
      Refuse(line, "not an answer to the open dialog");
    } else {
      dialog.answer_ = std::move(command);
    }
    return true;
  }
  auto found = commands_.find(command.keyword);
  if (found == commands_.end()) {
    Refuse(line, "unknown command");
    return true;
  }
  // The handler may register or unregister commands; it runs from a copy.
  Handler handler = found->second;
  handler(command.argument);
  return true;
}

Console::Dialog::Dialog(Console& console, AnswerFilter filter)
    : console_(console), filter_(std::move(filter)) {
  console_.dialogs_.push_back(this);
}

Console::Dialog::~Dialog() {
  auto& dialogs = console_.dialogs_;
  dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this),
                dialogs.end());
}

}  // namespace plumeta::host
