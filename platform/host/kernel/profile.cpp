#include "platform/host/kernel/profile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "common/text.h"

namespace plumeta::host {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string SetProfileString(const std::string& ini, const std::string& section,
                             const std::string& key, const std::string& value) {
  std::vector<std::string> lines;
  std::istringstream in(ini);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  const std::string entry = key + "=" + value;
  bool in_section = false;
  std::size_t section_end = lines.size();  // where a missing key goes
  bool found_section = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Trimmed(lines[i]);
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      if (in_section) {
        section_end = i;
        break;
      }
      in_section = SameName(line.substr(1, line.size() - 2), section);
      found_section = found_section || in_section;
      continue;
    }
    const auto equals = line.find('=');
    if (in_section && equals != std::string::npos &&
        SameName(Trimmed(line.substr(0, equals)), key)) {
      lines[i] = entry;
      in_section = false;
      found_section = false;
      section_end = std::string::npos;
      break;
    }
  }
  if (section_end != std::string::npos) {
    if (found_section) {
      // Before the blank lines that close the section.
      while (section_end > 0 && Trimmed(lines[section_end - 1]).empty()) {
        --section_end;
      }
      lines.insert(lines.begin() + section_end, entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

HostProfile::HostProfile(std::shared_ptr<BoxProcess> process)
    : process_(std::move(process)) {}

bool HostProfile::WriteString(const std::string& section,
                              const std::string& key,
                              const std::string& value) {
  std::optional<std::string> path =
      process_->LinuxPath(process_->facts().windows_folder + "\\win.ini");
  if (!path) return false;
  std::string ini;
  {
    std::ifstream in(*path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ini = text.str();
  }
  std::ofstream out(*path, std::ios::binary | std::ios::trunc);
  out << SetProfileString(ini, section, key, value);
  return static_cast<bool>(out.flush());
}

}  // namespace plumeta::host
