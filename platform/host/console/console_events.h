// Host stand-in (Linux only). The console user interface's event lines: a
// keyword, then fields separated by TAB; inside a field a backslash is
// written \\, TAB \t, CR \r and LF \n, so that one event is one line.
//
//   message<TAB>Plumeta<TAB>Do you really want to quit?<TAB>yesno<TAB>none
#ifndef PLATFORM_HOST_CONSOLE_CONSOLE_EVENTS_H_
#define PLATFORM_HOST_CONSOLE_CONSOLE_EVENTS_H_

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace plumeta::host {

std::string EscapeEventField(std::string_view field);
// The inverse; a backslash before any other character stays as it is.
std::string UnescapeEventField(std::string_view field);

// The event's line, without its line end.
std::string EventLine(std::string_view keyword,
                      std::initializer_list<std::string_view> fields);
// An event line split back into its keyword and fields, unescaped (for the
// programs and tests that read the events).
std::vector<std::string> SplitEventLine(std::string_view line);

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_CONSOLE_CONSOLE_EVENTS_H_
