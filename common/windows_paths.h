// The parts of a Windows path ("C:\Temp\1024.pdf").
#ifndef COMMON_WINDOWS_PATHS_H_
#define COMMON_WINDOWS_PATHS_H_

#include <cstddef>
#include <string>

namespace plumeta {

// The folder part with its final backslash ("C:\Temp\"); empty when the
// path has no backslash.
inline std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The part after the last backslash; the whole path when it has none.
inline std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace plumeta

#endif  // COMMON_WINDOWS_PATHS_H_
