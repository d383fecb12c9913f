#include "setup/logon_task.h"

#include <vector>

namespace plumeta::setup {
namespace {

std::string XmlText(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string LogonTaskDefinition(const std::string& monitor_path) {
  // The defaults left out would stop the monitor after three days
  // (ExecutionTimeLimit), keep it from starting on battery, start one copy
  // for all users (MultipleInstancesPolicy) and lower its priority.
  const std::vector<std::string> lines = {
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
      "<Task version=\"1.2\" "
      "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">",
      "  <RegistrationInfo>",
      "    <Description>Starts the Plumeta tray monitor at log-on."
      "</Description>",
      "  </RegistrationInfo>",
      "  <Triggers>",
      "    <LogonTrigger>",
      "      <Enabled>true</Enabled>",
      "    </LogonTrigger>",
      "  </Triggers>",
      "  <Principals>",
      "    <Principal id=\"Users\">",
      "      <GroupId>S-1-5-32-545</GroupId>",
      "      <RunLevel>HighestAvailable</RunLevel>",
      "    </Principal>",
      "  </Principals>",
      "  <Settings>",
      "    <MultipleInstancesPolicy>Parallel</MultipleInstancesPolicy>",
      "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
      "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>",
      "    <AllowStartOnDemand>true</AllowStartOnDemand>",
      "    <Enabled>true</Enabled>",
      "    <Hidden>false</Hidden>",
      "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>",
      "    <Priority>4</Priority>",
      "  </Settings>",
      "  <Actions Context=\"Users\">",
      "    <Exec>",
      "      <Command>" + XmlText(monitor_path) + "</Command>",
      "    </Exec>",
      "  </Actions>",
      "</Task>",
  };
  std::string xml;
  for (const std::string& line : lines) xml += line + "\r\n";
  return xml;
}

}  // namespace plumeta::setup
