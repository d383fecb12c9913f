// Host stand-in (Linux only). The console user interface's one reader of
// standard input and its writer of events.
//
// Events go to standard output, one line each (console_events.h). Standard
// input gives one command per line: a keyword, then after one space its
// argument ("click N6001", "ok two words"). A line goes to the innermost
// dialog or menu that is open and waits for an answer; when none is open, to
// the command registered for its keyword (click, button, close, rclick,
// dblclick, ...). Lines nobody takes are refused on standard error.
//
// The end of input changes nothing: the program runs on until it ends
// itself; a dialog or menu open then, or opened later, is cancelled.
#ifndef PLATFORM_HOST_CONSOLE_CONSOLE_H_
#define PLATFORM_HOST_CONSOLE_CONSOLE_H_

#include <deque>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumeta::host {

// A line split at its first space after any leading blanks: "ok two words"
// is "ok" and "two words"; a CR before the line end is dropped.
struct ConsoleCommand {
  std::string keyword;
  std::string argument;
};
ConsoleCommand ParseConsoleCommand(std::string_view line);

class Console {
 public:
  using Handler = std::function<void(const std::string& argument)>;
  // Whether an open dialog takes the command as its answer.
  using AnswerFilter = std::function<bool(const ConsoleCommand& command)>;

  Console(int input_fd, std::ostream& events, std::ostream& errors);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // The process's console: standard input, output and error.
  static Console& Instance();

  // Writes one event line and flushes it.
  void Event(std::string_view keyword,
             std::initializer_list<std::string_view> fields);
  void Refuse(std::string_view line, std::string_view reason);

  // A command for when no dialog is open; a keyword registered again gets
  // the new handler.
  void RegisterCommand(const std::string& keyword, Handler handler);
  void UnregisterCommand(const std::string& keyword);

  // Waits at most `timeout_ms` for input and queues every complete line that
  // arrived. Returns at once when lines are queued already; sleeps the whole
  // time after the end of input.
  void Poll(int timeout_ms);
  bool HasQueuedLines() const { return !lines_.empty(); }
  // True once standard input has ended and every line has been handed out.
  bool Exhausted() const { return at_end_ && lines_.empty(); }
  // Whether a dialog or menu is open and waits for its answer.
  bool DialogOpen() const { return !dialogs_.empty(); }

  // Hands the first queued line to the innermost open dialog, or to its
  // registered command when none is open. False when no line was queued or
  // the innermost dialog has its answer already.
  bool DispatchOne();

  // An open dialog, while it waits for its answer. Dialogs nest: the
  // innermost takes the lines.
  class Dialog {
   public:
    Dialog(Console& console, AnswerFilter filter);
    ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    const std::optional<ConsoleCommand>& answer() const { return answer_; }

   private:
    friend class Console;
    Console& console_;
    AnswerFilter filter_;
    std::optional<ConsoleCommand> answer_;
  };

 private:
  void ReadAvailable();

  int input_fd_;
  std::ostream& events_;
  std::ostream& errors_;
  bool at_end_ = false;
  std::string partial_;
  std::deque<std::string> lines_;
  std::map<std::string, Handler> commands_;
  std::vector<Dialog*> dialogs_;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_CONSOLE_H_
