// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_random.h"

#include "platform/win32/windows_api.h"
// <wincrypt.h> needs the types <windows.h> declares.
#include <wincrypt.h>

#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {
namespace {

using RtlGenRandomFunction = BOOLEAN(WINAPI*)(PVOID, ULONG);

struct CryptProviderTraits {
  using Handle = HCRYPTPROV;
  static Handle Invalid() { return 0; }
  static bool Close(Handle provider) {
    return ::CryptReleaseContext(provider, 0) != FALSE;
  }
};

}  // namespace

platform::ErrorCode Win32Random::Fill(std::uint8_t* data, std::size_t size) {
  // advapi32 is loaded already: the program links it.
  if (auto generate = FindSystemEntry<RtlGenRandomFunction>(
          "advapi32.dll", "SystemFunction036")) {
    if (generate(data, static_cast<ULONG>(size))) return platform::kSuccess;
  }
  ScopedHandle<CryptProviderTraits> provider;
  if (!::CryptAcquireContextA(provider.Receive(), nullptr, nullptr,
                              PROV_RSA_FULL,
                              CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    return LastFailure();
  }
  if (!::CryptGenRandom(provider.Get(), static_cast<DWORD>(size), data)) {
    return LastFailure();
  }
  return platform::kSuccess;
}

}  // namespace plumeta::win32
