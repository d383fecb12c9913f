#include "tests/wine/support/system_queries.h"

#include <sstream>

#include "platform/win32/scoped_handle.h"
#include "tests/wine/support/process_runner.h"
#include "tests/wine/support/wine_test_support.h"
// After <windows.h>, which it needs.
#include <winspool.h>

namespace plumeta::wine_test {

std::optional<std::vector<std::string>> RegQuery(const std::string& key) {
  auto finished = wine_test::RunToEnd(
      Quoted(SystemFolder() + "\\reg.exe") + " query " + Quoted(key), 20000);
  if (!finished || finished->exit_code != 0) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream output(finished->output);
  std::string line;
  while (std::getline(output, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;  // values are indented
    // Wine's reg.exe separates name, type and data by four spaces.
    const std::size_t type_at = line.find("    REG_", 4);
    if (type_at == std::string::npos) continue;
    const std::string name = line.substr(4, type_at - 4);
    std::string rest = line.substr(type_at + 4);
    const std::size_t data_at = rest.find("    ");
    const std::string type = rest.substr(0, data_at);
    const std::string data =
        data_at == std::string::npos ? "" : rest.substr(data_at + 4);
    lines.push_back(name + " " + type + " " + data);
  }
  return lines;
}

std::optional<std::string> RegValue(const std::string& key,
                                    const std::string& name) {
  auto lines = RegQuery(key);
  if (!lines) return std::nullopt;
  for (const std::string& line : *lines) {
    if (line.rfind(name + " REG_", 0) == 0) return line.substr(name.size() + 1);
  }
  return std::nullopt;
}

int CountDriver(const char* environment) {
  DWORD needed = 0, returned = 0;
  ::EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 1, nullptr, 0,
                        &needed, &returned);
  std::vector<BYTE> buffer(needed + 1);
  if (!::EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 1,
                             buffer.data(), needed, &needed, &returned)) {
    return 0;
  }
  const auto* drivers = reinterpret_cast<DRIVER_INFO_1A*>(buffer.data());
  int count = 0;
  for (DWORD i = 0; i < returned; ++i) {
    count += std::string(drivers[i].pName) == "Plumeta";
  }
  return count;
}

void PretendWindows(const std::string& exe_name, const std::string& version) {
  const std::string path = "Software\\Wine\\AppDefaults\\" + exe_name;
  if (version.empty()) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    return;
  }
  win32::ScopedRegistryKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  ::RegSetValueExA(key.Get(), "Version", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
}

}  // namespace plumeta::wine_test
