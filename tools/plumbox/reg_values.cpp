#include "tools/plumbox/reg_values.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "common/text.h"

namespace plumeta::plumbox {
namespace {

using platform::RegistryValue;
using platform::ValueType;

constexpr const char* kTypeNames[] = {
    "REG_NONE",
    "REG_SZ",
    "REG_EXPAND_SZ",
    "REG_BINARY",
    "REG_DWORD",
    "REG_DWORD_BIG_ENDIAN",
    "REG_LINK",
    "REG_MULTI_SZ",
    "REG_RESOURCE_LIST",
    "REG_FULL_RESOURCE_DESCRIPTOR",
    "REG_RESOURCE_REQUIREMENTS_LIST",
    "REG_QWORD",
};

std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[3];
  for (char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(byte));
    text += pair;
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string TypeName(ValueType type) {
  auto number = static_cast<std::uint32_t>(type);
  if (number < std::size(kTypeNames)) return kTypeNames[number];
  return "REG_UNKNOWN(" + std::to_string(number) + ")";
}

std::string DisplayData(const RegistryValue& value) {
  switch (value.type) {
    case ValueType::kString:
    case ValueType::kExpandString:
      return value.Text();
    case ValueType::kDword:
      if (value.data.size() == 4) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", value.Dword());
        return text;
      }
      break;
    case ValueType::kMultiString: {
      std::string text;
      std::string_view rest = value.data;
      while (!rest.empty() && rest.back() == '\0') rest.remove_suffix(1);
      for (char c : rest) {
        if (c == '\0') {
          text += "\\0";
        } else {
          text += c;
        }
      }
      return text;
    }
    default:
      break;
  }
  if (static_cast<std::uint32_t>(value.type) == 11 && value.data.size() == 8) {
    unsigned long long number = 0;
    for (int i = 7; i >= 0; --i) {
      number = (number << 8) | static_cast<unsigned char>(value.data[i]);
    }
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", number);
    return text;
  }
  return Hex(value.data);
}

std::optional<ValueType> ParseTypeName(std::string_view name) {
  for (ValueType type : {ValueType::kString, ValueType::kExpandString,
                         ValueType::kDword, ValueType::kBinary}) {
    if (SameName(name, TypeName(type))) return type;
  }
  return std::nullopt;
}

std::optional<RegistryValue> ParseData(ValueType type, std::string_view data,
                                       std::string* why) {
  switch (type) {
    case ValueType::kString:
      return RegistryValue::String(std::string(data));
    case ValueType::kExpandString:
      return RegistryValue::ExpandString(std::string(data));
    case ValueType::kDword: {
      std::string_view digits = data;
      int base = 10;
      if (digits.size() > 2 && digits[0] == '0' &&
          (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
      }
      std::uint32_t number = 0;
      const char* end = digits.data() + digits.size();
      auto [stop, error] = std::from_chars(digits.data(), end, number, base);
      if (digits.empty() || error != std::errc() || stop != end) {
        *why =
            "REG_DWORD data is a number from 0 to 4294967295 "
            "(or 0x0 to 0xffffffff), not \"" +
            std::string(data) + "\"";
        return std::nullopt;
      }
      return RegistryValue::FromDword(number);
    }
    case ValueType::kBinary: {
      for (char c : data) {
        if (HexDigit(c) < 0) {
          *why = "REG_BINARY data is hexadecimal digits, not \"" +
                 std::string(data) + "\"";
          return std::nullopt;
        }
      }
      std::string bytes;
      std::size_t i = 0;
      if (data.size() % 2 == 1) bytes += static_cast<char>(HexDigit(data[i++]));
      for (; i < data.size(); i += 2) {
        bytes +=
            static_cast<char>(HexDigit(data[i]) * 16 + HexDigit(data[i + 1]));
      }
      return RegistryValue{ValueType::kBinary, bytes};
    }
    default:
      break;
  }
  *why = "that type cannot be written here";
  return std::nullopt;
}

}  // namespace plumeta::plumbox
