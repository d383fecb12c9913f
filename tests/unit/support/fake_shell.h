// A shell that records what it was asked and answers as a test says.
#ifndef TESTS_UNIT_SUPPORT_FAKE_SHELL_H_
#define TESTS_UNIT_SUPPORT_FAKE_SHELL_H_

#include <string>
#include <vector>

#include "platform/shell.h"
#include "tests/unit/support/call_log.h"

namespace plumeta::testing {

class FakeShell : public platform::Shell {
 public:
  std::vector<platform::ShellExecuteRequest> executed;
  std::vector<platform::FileOperation> operations;
  std::vector<std::string> current_folders;
  std::intptr_t execute_result = 42;
  int file_operation_result = 0;
  bool current_folder_exists = true;
  CallLog* log = nullptr;

  std::intptr_t Execute(const platform::ShellExecuteRequest& request) override {
    Record(log, "shell execute " + request.operation + "|" + request.file +
                    "|" + request.parameters + "|" + request.directory + "|" +
                    std::to_string(request.show_mode));
    executed.push_back(request);
    return execute_result;
  }
  int RunFileOperation(const platform::FileOperation& operation) override {
    std::string sources;
    for (const std::string& from : operation.from) {
      sources += (sources.empty() ? "" : ";") + from;
    }
    Record(log, "shell file-operation " +
                    std::to_string(static_cast<int>(operation.function)) + " " +
                    sources + " -> " + operation.to + " flags " +
                    std::to_string(operation.flags));
    operations.push_back(operation);
    return file_operation_result;
  }
  bool SetCurrentFolder(const std::string& path) override {
    Record(log, "shell set-current-folder " + path);
    current_folders.push_back(path);
    return current_folder_exists;
  }
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_SHELL_H_
