// The errors the programs raise and the exact texts the user sees for them.
// Platform calls never throw; the core turns their error codes into these.
#ifndef COMMON_ERRORS_H_
#define COMMON_ERRORS_H_

#include <stdexcept>
#include <string>

#include "platform/error_codes.h"

namespace plumeta {

// Base of every error shown in the application error box; what() is the text
// exactly as shown, before the full-stop rule.
class PlumetaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file operation failed (creating, writing or closing a text file).
class InOutError : public PlumetaError {
 public:
  explicit InOutError(platform::ErrorCode code);
  platform::ErrorCode code() const { return code_; }

 private:
  platform::ErrorCode code_;
};

// A registry value could not be written or read, or has a type the caller
// cannot use.
class RegistryError : public PlumetaError {
 public:
  static RegistryError FailedToSetData(const std::string& value_name);
  static RegistryError FailedToGetData(const std::string& value_name);
  static RegistryError InvalidDataType(const std::string& value_name);
  // A value of the right type whose text the setting cannot take.
  static RegistryError InvalidData(const std::string& value_name);

 private:
  using PlumetaError::PlumetaError;
};

// A checked platform call failed.
class OsError : public PlumetaError {
 public:
  // `system_message` is the system's text for `code` as FormatMessage gives
  // it; code 0 means the platform gave no code.
  OsError(platform::ErrorCode code, const std::string& system_message);
  platform::ErrorCode code() const { return code_; }

 private:
  platform::ErrorCode code_;
};

// "File access denied" for 5, "I/O error 32" for a code without a text.
std::string InOutErrorText(platform::ErrorCode code);

// "System Error.  Code: 5." CR LF "Access is denied", or "A call to an OS
// function failed" for code 0. The system's text loses its trailing
// whitespace and full stops; the error box adds one back.
std::string OsErrorText(platform::ErrorCode code,
                        const std::string& system_message);

// The text with a full stop added when its last character sorts after ".".
std::string WithFullStop(const std::string& text);

}  // namespace plumeta

#endif  // COMMON_ERRORS_H_
