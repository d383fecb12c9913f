// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/files.h"

#include <algorithm>
#include <cstddef>

#include "platform/win32/protected_file_security.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {

using platform::ErrorCode;
using platform::kSuccess;

namespace {

constexpr std::size_t kIoChunk = 1 << 16;

DWORD AttributesOf(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool Win32Files::Exists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ErrorCode Win32Files::Delete(const std::string& path) {
  return ::DeleteFileA(path.c_str()) ? kSuccess : LastFailure();
}

ErrorCode Win32Files::Copy(const std::string& from, const std::string& to,
                           bool fail_if_exists) {
  return ::CopyFileA(from.c_str(), to.c_str(), fail_if_exists ? TRUE : FALSE)
             ? kSuccess
             : LastFailure();
}

ErrorCode Win32Files::WriteTextFile(const std::string& path,
                                    const std::string& content,
                                    platform::FileProtection protection) {
  ProtectedFileSecurity security;
  DWORD disposition = CREATE_ALWAYS;
  if (protection == platform::FileProtection::kAdministratorsAndSystemOnly) {
    if (const ErrorCode error = security.Build(); error != kSuccess) {
      return error;
    }
    if (security.Attributes() != nullptr) {
      // CreateFileA keeps an existing file's own security, so the file is
      // made anew; one that appears in between is refused, not reused.
      if (!::DeleteFileA(path.c_str()) && !IsMissing(::GetLastError())) {
        return LastFailure();
      }
      disposition = CREATE_NEW;
    }
  }
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0,
                                      security.Attributes(), disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastFailure();
  const char* next = content.data();
  std::size_t remaining = content.size();
  while (remaining > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min(remaining, kIoChunk));
    DWORD written = 0;
    if (!::WriteFile(file.Get(), next, chunk, &written, nullptr)) {
      return LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    next += written;
    remaining -= written;
  }
  if (!file.Close()) return LastErrorOr(ERROR_WRITE_FAULT);
  return kSuccess;
}

std::optional<std::string> Win32Files::ReadFile(const std::string& path) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  std::string buffer(kIoChunk, '\0');
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), buffer.data(),
                    static_cast<DWORD>(buffer.size()), &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) return content;
    content.append(buffer.data(), read);
  }
}

std::optional<std::string> Win32Files::ReadPart(const std::string& path,
                                                std::uint64_t offset,
                                                std::size_t length) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LONG high = static_cast<LONG>(offset >> 32);
  ::SetLastError(NO_ERROR);
  if (::SetFilePointer(file.Get(), static_cast<LONG>(offset & 0xFFFFFFFFu),
                       &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    return std::nullopt;
  }
  std::string part;
  std::string buffer(std::min(length, kIoChunk), '\0');
  while (part.size() < length) {
    const DWORD wanted =
        static_cast<DWORD>(std::min(buffer.size(), length - part.size()));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), buffer.data(), wanted, &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;
    part.append(buffer.data(), read);
  }
  return part;
}

bool Win32Files::InUse(const std::string& path) {
  if (!Exists(path)) return false;
  ScopedFileHandle file(
      ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file.IsValid();
}

std::optional<std::uint64_t> Win32Files::Size(const std::string& path) {
  if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
  WIN32_FIND_DATAA entry{};
  ScopedFindHandle search(::FindFirstFileA(path.c_str(), &entry));
  if (!search || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) |
         entry.nFileSizeLow;
}

std::optional<platform::FileFacts> Win32Files::Facts(const std::string& path) {
  constexpr DWORD kShareAll =
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  ScopedFileHandle file(::CreateFileA(path.c_str(), 0, kShareAll, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file && ::GetLastError() == ERROR_INVALID_PARAMETER) {
    // Windows 9x knows no FILE_SHARE_DELETE.
    file.Reset(::CreateFileA(path.c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
  }
  if (!file) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(file.Get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  auto wide = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return platform::FileFacts{
      information.dwVolumeSerialNumber,
      wide(information.nFileIndexHigh, information.nFileIndexLow),
      wide(information.nFileSizeHigh, information.nFileSizeLow),
      wide(information.ftLastWriteTime.dwHighDateTime,
           information.ftLastWriteTime.dwLowDateTime)};
}

bool Win32Files::IsReadOnly(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

ErrorCode Win32Files::SetReadOnly(const std::string& path, bool read_only) {
  DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastFailure();
  attributes = read_only ? attributes | FILE_ATTRIBUTE_READONLY
                         : attributes & ~FILE_ATTRIBUTE_READONLY;
  // FILE_ATTRIBUTE_NORMAL is only valid alone, as "no attributes".
  attributes &= ~FILE_ATTRIBUTE_NORMAL;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  return ::SetFileAttributesA(path.c_str(), attributes) ? kSuccess
                                                        : LastFailure();
}

ErrorCode Win32Files::Replace(const std::string& replacement,
                              const std::string& target) {
  using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  static const auto move_file_ex =
      FindSystemEntry<MoveFileExFunction>("kernel32.dll", "MoveFileExA");
  if (move_file_ex != nullptr) {
    if (move_file_ex(replacement.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
      return kSuccess;
    }
    const ErrorCode error = LastFailure();
    // Windows 9x exports MoveFileExA without implementing it.
    if (error != ERROR_CALL_NOT_IMPLEMENTED) return error;
  }
  return ReplaceByDeleteAndMove(replacement, target);
}

ErrorCode ReplaceByDeleteAndMove(const std::string& replacement,
                                 const std::string& target) {
  if (AttributesOf(replacement) == INVALID_FILE_ATTRIBUTES)
    return LastFailure();
  if (!::DeleteFileA(target.c_str()) &&
      ::GetLastError() != ERROR_FILE_NOT_FOUND) {
    return LastFailure();
  }
  return ::MoveFileA(replacement.c_str(), target.c_str()) ? kSuccess
                                                          : LastFailure();
}

ErrorCode Win32Files::CreateFolder(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) ? kSuccess : LastFailure();
}

ErrorCode Win32Files::MoveNew(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) ? kSuccess : LastFailure();
}

bool Win32Files::IsFolder(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Win32Files::FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry{};
  ScopedFindHandle search(::FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!search) return names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(entry.cFileName);
    }
  } while (::FindNextFileA(search.Get(), &entry));
  return names;
}

}  // namespace plumeta::win32
