// What an installation left on the system, as the wine tests look at it
// with Wine's own tools and the raw API: registry values through reg.exe,
// the printer drivers, and Wine's per-program Windows version.
#ifndef TESTS_WINE_SUPPORT_SYSTEM_QUERIES_H_
#define TESTS_WINE_SUPPORT_SYSTEM_QUERIES_H_

#include <optional>
#include <string>
#include <vector>

namespace plumeta::wine_test {

// `reg query KEY` ("HKLM\\..."): "name type data" per value, or nullopt when
// the key is missing.
std::optional<std::vector<std::string>> RegQuery(const std::string& key);
// One value's "type data" from RegQuery, or nullopt.
std::optional<std::string> RegValue(const std::string& key,
                                    const std::string& name);

// How many drivers named "Plumeta" the environment ("Windows NT x86",
// "Windows x64", "Windows 4.0") has.
int CountDriver(const char* environment);

// Wine's Windows version for one program ("win98", "nt40"; "" removes it).
void PretendWindows(const std::string& exe_name, const std::string& version);

}  // namespace plumeta::wine_test

#endif  // TESTS_WINE_SUPPORT_SYSTEM_QUERIES_H_
