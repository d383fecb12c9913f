#include "platform/host/base/error_messages.h"

namespace plumeta::host {
namespace {

struct Message {
  platform::ErrorCode code;
  const char* text;
};

constexpr Message kMessages[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {17, "The system cannot move the file to a different disk drive."},
    {29, "The system cannot write to the specified device."},
    {32,
     "The process cannot access the file because it is being used by "
     "another process."},
    {50, "The request is not supported."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {112, "There is not enough space on the disk."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {145, "The directory is not empty."},
    {161, "The specified path is invalid."},
    {183, "Cannot create a file when that file already exists."},
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {1009, "The configuration registry database is corrupt."},
    {1018,
     "Illegal operation attempted on a registry key that has been marked for "
     "deletion."},
    {1223, "The operation was canceled by the user."},
    {1797, "The printer driver is unknown."},
    {1801, "The printer name is invalid."},
    {1802, "The printer already exists."},
};

}  // namespace

std::string WindowsErrorMessage(platform::ErrorCode code) {
  for (const Message& message : kMessages) {
    if (message.code == code) return std::string(message.text) + "\r\n";
  }
  return "";
}

}  // namespace plumeta::host
