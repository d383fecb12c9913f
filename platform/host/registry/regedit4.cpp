#include "platform/host/registry/regedit4.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace plumeta::host {
namespace {

using platform::RegistryValue;
using platform::ValueType;

constexpr std::string_view kHeader = "REGEDIT4";
// Hex lists wrap before this column, as regedit wraps them.
constexpr std::size_t kLineWidth = 77;

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

bool IsPlainText(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  return data.find_first_of(std::string_view("\0\r\n", 3)) == data.size() - 1;
}

std::string HexByte(unsigned char byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02x", byte);
  return text;
}

void WriteHexList(std::string line, const std::string& data, std::string* out) {
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::string token = HexByte(static_cast<unsigned char>(data[i]));
    if (i + 1 < data.size()) token += ',';
    if (i > 0 && line.size() + token.size() > kLineWidth) {
      *out += line + "\\\n";
      line = "  ";
    }
    line += token;
  }
  *out += line + '\n';
}

void WriteValue(const HiveKey::NamedValue& named, std::string* out) {
  std::string line = named.name.empty() ? "@=" : Quote(named.name) + "=";
  const RegistryValue& value = named.value;
  if (value.type == ValueType::kString && IsPlainText(value.data)) {
    *out += line + Quote(value.Text()) + '\n';
  } else if (value.type == ValueType::kDword && value.data.size() == 4) {
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08x", value.Dword());
    *out += line + number + '\n';
  } else if (value.type == ValueType::kBinary) {
    WriteHexList(line + "hex:", value.data, out);
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix,
                  "hex(%x):", static_cast<unsigned>(value.type));
    WriteHexList(line + prefix, value.data, out);
  }
}

void WriteKey(const HiveKey& key, const std::string& path, bool is_root,
              std::string* out) {
  if (!is_root || !key.values().empty()) {
    *out += "[" + path + "]\n";
    for (const auto& named : key.values()) WriteValue(named, out);
    *out += '\n';
  }
  for (const auto& [name, subkey] : key.subkeys()) {
    WriteKey(*subkey, path + "\\" + subkey->name(), false, out);
  }
}

std::string_view Trim(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         SameName(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string at the start of `text` (which begins with '"'),
// moving `text` past it.
std::optional<std::string> ReadQuoted(std::string_view* text) {
  std::string result;
  for (std::size_t i = 1; i < text->size(); ++i) {
    char c = (*text)[i];
    if (c == '"') {
      text->remove_prefix(i + 1);
      return result;
    }
    if (c == '\\') {
      if (i + 1 >= text->size()) return std::nullopt;
      char escaped = (*text)[++i];
      if (escaped != '\\' && escaped != '"') return std::nullopt;
      c = escaped;
    }
    result += c;
  }
  return std::nullopt;
}

std::optional<std::string> ReadHexList(std::string_view list) {
  std::string bytes;
  list = Trim(list);
  if (list.empty()) return bytes;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view token = Trim(list.substr(start, end - start));
    bool last = end == list.size();
    if (token.empty()) {
      if (last) break;  // a trailing comma
      return std::nullopt;
    }
    if (token.size() > 2) return std::nullopt;
    int number = 0;
    for (char c : token) {
      int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      number = number * 16 + digit;
    }
    bytes += static_cast<char>(number);
    start = end + 1;
  }
  return bytes;
}

// Parses the data after '=' into `value`; an empty string on success, else
// what is wrong.
std::string ReadData(std::string_view data, RegistryValue* value) {
  if (!data.empty() && data.front() == '"') {
    std::optional<std::string> text = ReadQuoted(&data);
    if (!text) return "a string without its closing quote or with a bad escape";
    if (!Trim(data).empty()) return "text after the closing quote";
    *value = RegistryValue::String(*text);
    return "";
  }
  if (StartsWithNoCase(data, "dword:")) {
    std::string_view digits = Trim(data.substr(6));
    if (digits.empty() || digits.size() > 8) return "a bad dword";
    std::uint32_t number = 0;
    for (char c : digits) {
      int digit = HexDigit(c);
      if (digit < 0) return "a bad dword";
      number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    *value = RegistryValue::FromDword(number);
    return "";
  }
  if (StartsWithNoCase(data, "hex")) {
    data.remove_prefix(3);
    std::uint32_t type = static_cast<std::uint32_t>(ValueType::kBinary);
    if (!data.empty() && data.front() == '(') {
      std::size_t close = data.find(')');
      if (close == std::string_view::npos || close == 1 || close > 9) {
        return "a bad hex type";
      }
      type = 0;
      for (char c : data.substr(1, close - 1)) {
        int digit = HexDigit(c);
        if (digit < 0) return "a bad hex type";
        type = type * 16 + static_cast<std::uint32_t>(digit);
      }
      data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') return "a hex list without ':'";
    std::optional<std::string> bytes = ReadHexList(data.substr(1));
    if (!bytes) return "a bad hex list";
    *value = RegistryValue{static_cast<ValueType>(type), *bytes};
    return "";
  }
  return "data that is neither \"text\", dword: nor hex:";
}

}  // namespace

std::string_view RootKeyName(platform::RootKey root) {
  return root == platform::RootKey::kLocalMachine ? "HKEY_LOCAL_MACHINE"
                                                  : "HKEY_CURRENT_USER";
}

std::string WriteRegedit4(const Hive& hive, std::string_view root_name) {
  std::string out = std::string(kHeader) + "\n\n";
  WriteKey(hive.root(), std::string(root_name), true, &out);
  return out;
}

bool ParseRegedit4(std::string_view text, std::string_view root_name,
                   Hive* hive, std::string* error) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }

  auto fail = [error](std::size_t index, const std::string& what) {
    *error = "line " + std::to_string(index + 1) + ": " + what;
    return false;
  };

  bool header_seen = false;
  HiveKey* key = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    if (line.empty() || line.front() == ';') continue;
    if (!header_seen) {
      if (line != kHeader) return fail(i, "the file does not begin REGEDIT4");
      header_seen = true;
      continue;
    }
    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      if (close == std::string_view::npos ||
          !Trim(line.substr(close + 1)).empty()) {
        return fail(i, "a key line without its closing ']'");
      }
      std::string_view path = line.substr(1, close - 1);
      if (!StartsWithNoCase(path, root_name)) {
        return fail(i, "a key outside " + std::string(root_name));
      }
      path.remove_prefix(root_name.size());
      if (!path.empty() && path.front() != '\\') {
        return fail(i, "a key outside " + std::string(root_name));
      }
      if (!path.empty()) path.remove_prefix(1);
      std::optional<std::vector<std::string>> names = SplitKeyPath(path);
      if (!names) return fail(i, "a key path with an empty name");
      key = &hive->Create(*names);
      continue;
    }
    if (line.front() != '"' && line.front() != '@') {
      return fail(i, "neither a key, a value nor a comment");
    }
    if (key == nullptr) return fail(i, "a value before the first key");
    std::string name;
    std::string_view rest = line;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else {
      std::optional<std::string> quoted = ReadQuoted(&rest);
      if (!quoted) return fail(i, "a value name without its closing quote");
      name = *quoted;
    }
    rest = Trim(rest);
    if (rest.empty() || rest.front() != '=') {
      return fail(i, "a value name without '='");
    }
    rest = Trim(rest.substr(1));
    std::string data(rest);
    std::size_t first_line = i;
    if (StartsWithNoCase(rest, "hex")) {
      // Long hex lists go on over lines that end with a backslash.
      while (!data.empty() && data.back() == '\\') {
        data.pop_back();
        if (++i >= lines.size())
          return fail(first_line, "a hex list cut short");
        data += Trim(lines[i]);
      }
    }
    RegistryValue value;
    std::string fault = ReadData(data, &value);
    if (!fault.empty()) return fail(first_line, fault);
    key->SetValue(name, std::move(value));
  }
  if (!header_seen) return fail(0, "the file does not begin REGEDIT4");
  return true;
}

}  // namespace plumeta::host
