// Host stand-in (Linux only). Splitting a Windows command line into the
// arguments a C program receives in argv, as the Microsoft C runtime does
// (the rules of 2008 and later), so that a box program started from a
// registry value gets the arguments it would get on Windows:
//
//   - blanks and TABs outside quotes separate arguments;
//   - '"' starts or ends a quoted part; inside one, '""' is a literal '"';
//   - 2n backslashes before a '"' give n backslashes and the quote acts;
//     2n+1 give n backslashes and a literal '"';
//   - any other backslash is literal.
#ifndef PLATFORM_HOST_BASE_WINDOWS_COMMAND_LINE_H_
#define PLATFORM_HOST_BASE_WINDOWS_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

namespace plumeta::host {

// The arguments of `command_line` (without a program name in front).
std::vector<std::string> SplitWindowsArguments(std::string_view command_line);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_WINDOWS_COMMAND_LINE_H_
