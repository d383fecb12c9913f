#include "platform/registry.h"

namespace plumeta::platform {

std::string RegistryValue::Text() const {
  return data.substr(0, data.find('\0'));
}

std::uint32_t RegistryValue::Dword() const {
  if (data.size() < 4) return 0;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) {
    number = (number << 8) | static_cast<unsigned char>(data[i]);
  }
  return number;
}

RegistryValue RegistryValue::String(const std::string& text) {
  return {ValueType::kString, text + '\0'};
}

RegistryValue RegistryValue::ExpandString(const std::string& text) {
  return {ValueType::kExpandString, text + '\0'};
}

RegistryValue RegistryValue::FromDword(std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  }
  return {ValueType::kDword, bytes};
}

}  // namespace plumeta::platform
