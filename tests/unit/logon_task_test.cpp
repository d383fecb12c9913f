// The scheduled task that starts the tray monitor at log-on from Vista on:
// Wine keeps a registered task but drops its trigger, run level and command,
// so the definition itself is checked here.
#include "setup/logon_task.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plumeta {
namespace {

// The texts of every <tag>...</tag> in `xml`, in order.
std::vector<std::string> Texts(const std::string& xml, const std::string& tag) {
  std::vector<std::string> texts;
  const std::string open = "<" + tag + ">";
  const std::string close = "</" + tag + ">";
  for (auto at = xml.find(open); at != std::string::npos;
       at = xml.find(open, at + 1)) {
    const auto start = at + open.size();
    texts.push_back(xml.substr(start, xml.find(close, start) - start));
  }
  return texts;
}

TEST(LogonTaskTest, StartsTheMonitorAtEveryLogOnWithTheHighestRights) {
  const std::string xml =
      setup::LogonTaskDefinition("C:\\Program Files\\Plumeta\\Plumeta.exe");
  const struct {
    const char* tag;
    std::vector<std::string> texts;
  } kRows[] = {
      // A log-on trigger without a UserId fires for every user.
      {"LogonTrigger", {"\r\n      <Enabled>true</Enabled>\r\n    "}},
      {"UserId", {}},
      {"GroupId", {"S-1-5-32-545"}},
      {"RunLevel", {"HighestAvailable"}},
      {"Command", {"C:\\Program Files\\Plumeta\\Plumeta.exe"}},
      {"Arguments", {}},
      {"ExecutionTimeLimit", {"PT0S"}},
      {"DisallowStartIfOnBatteries", {"false"}},
      {"StopIfGoingOnBatteries", {"false"}},
      {"MultipleInstancesPolicy", {"Parallel"}},
      {"Enabled", {"true", "true"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.tag);
    EXPECT_EQ(Texts(xml, row.tag), row.texts);
  }
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task "
                      "version=\"1.2\" xmlns=\"http://schemas.microsoft.com/"
                      "windows/2004/02/mit/task\">",
                      0),
            0u);
  // The action runs as the principal that has the run level.
  EXPECT_NE(xml.find("<Principal id=\"Users\">"), std::string::npos);
  EXPECT_NE(xml.find("<Actions Context=\"Users\">"), std::string::npos);
}

TEST(LogonTaskTest, ThePathIsEscapedForXml) {
  EXPECT_EQ(
      Texts(setup::LogonTaskDefinition("D:\\R&D <x>\\Plumeta.exe"), "Command"),
      std::vector<std::string>{"D:\\R&amp;D &lt;x&gt;\\Plumeta.exe"});
}

}  // namespace
}  // namespace plumeta
