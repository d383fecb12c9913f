#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/base/windows_command_line.h"

namespace plumeta::host {
namespace {

TEST(WindowsArgumentsTest, SplitAsTheCRuntimeSplitsThem) {
  const struct {
    const char* line;
    std::vector<std::string> arguments;
  } kRows[] = {
      {"", {}},
      {"   \t ", {}},
      {"@C:\\WINDOWS\\system32\\plum.rsp -",
       {"@C:\\WINDOWS\\system32\\plum.rsp", "-"}},
      {"  a\t\tb  ", {"a", "b"}},
      {"\"C:\\Program Files\\x.rsp\" -", {"C:\\Program Files\\x.rsp", "-"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"\"\" x", {"", "x"}},
      {"\\\\server\\share", {"\\\\server\\share"}},
      {"a\\\\\"b c\"", {"a\\b c"}},  // 2n backslashes: n, the quote acts
      {"a\\\"b", {"a\"b"}},          // 2n+1: n and a literal quote
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"C:\\dir\\ x", {"C:\\dir\\", "x"}},  // not before a quote: literal
      {"\"a\"\"b\"", {"a\"b"}},             // "" inside quotes
      {"\"unterminated quote", {"unterminated quote"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(SplitWindowsArguments(row.line), row.arguments);
  }
}

}  // namespace
}  // namespace plumeta::host
