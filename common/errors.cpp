#include "common/errors.h"

#include <string>

namespace plumeta {
namespace {

constexpr char kLineBreak[] = "\r\n";

std::string Format(const char* pattern, const std::string& argument) {
  std::string text = pattern;
  return text.replace(text.find("%s"), 2, argument);
}

// What the system's message text looks like once its trailing line break and
// full stop are gone.
std::string TrimmedSystemMessage(const std::string& message) {
  std::string::size_type end = message.size();
  while (end > 0) {
    const unsigned char last = static_cast<unsigned char>(message[end - 1]);
    if (last > ' ' && last != '.') break;
    --end;
  }
  return message.substr(0, end);
}

}  // namespace

InOutError::InOutError(platform::ErrorCode code)
    : PlumetaError(InOutErrorText(code)), code_(code) {}

RegistryError RegistryError::FailedToSetData(const std::string& value_name) {
  return RegistryError(Format("Failed to set data for '%s'", value_name));
}

RegistryError RegistryError::FailedToGetData(const std::string& value_name) {
  return RegistryError(Format("Failed to get data for '%s'", value_name));
}

RegistryError RegistryError::InvalidDataType(const std::string& value_name) {
  return RegistryError(Format("Invalid data type for '%s'", value_name));
}

RegistryError RegistryError::InvalidData(const std::string& value_name) {
  return RegistryError(Format("Invalid data for '%s'", value_name));
}

OsError::OsError(platform::ErrorCode code, const std::string& system_message)
    : PlumetaError(OsErrorText(code, system_message)), code_(code) {}

std::string InOutErrorText(platform::ErrorCode code) {
  // Past the system's codes, the run-time library's own I/O error numbers.
  constexpr platform::ErrorCode kReadBeyondEndOfFile = 100;
  constexpr platform::ErrorCode kDiskWriteError = 101;
  constexpr platform::ErrorCode kInvalidNumericInput = 106;
  switch (code) {
    case platform::kErrorFileNotFound:
      return "File not found";
    case platform::kErrorPathNotFound:
      return "Invalid filename";
    case platform::kErrorTooManyOpenFiles:
      return "Too many open files";
    case platform::kErrorAccessDenied:
      return "File access denied";
    case kReadBeyondEndOfFile:
      return "Read beyond end of file";
    case kDiskWriteError:
      return "Disk full";
    case kInvalidNumericInput:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string OsErrorText(platform::ErrorCode code,
                        const std::string& system_message) {
  if (code == 0) return "A call to an OS function failed";
  return "System Error.  Code: " + std::to_string(code) + "." + kLineBreak +
         TrimmedSystemMessage(system_message);
}

std::string WithFullStop(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
    return text + ".";
  }
  return text;
}

}  // namespace plumeta
