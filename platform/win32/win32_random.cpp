// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/win32_random.h"

#include "platform/win32/windows_api.h"
// <wincrypt.h> needs the types <windows.h> declares.
#include <wincrypt.h>

#include "platform/win32/scoped_handle.h"

namespace plumeta::win32 {
namespace {

using RtlGenRandomFunction = BOOLEAN(WINAPI*)(PVOID, ULONG);
using AcquireContextFunction = BOOL(WINAPI*)(HCRYPTPROV*, LPCSTR, LPCSTR, DWORD,
                                             DWORD);
using GenRandomFunction = BOOL(WINAPI*)(HCRYPTPROV, DWORD, BYTE*);
using ReleaseContextFunction = BOOL(WINAPI*)(HCRYPTPROV, DWORD);

// The CryptoAPI calls, looked up at run time: the first Windows 95 has none.
struct CryptoCalls {
  AcquireContextFunction acquire = FindSystemEntry<AcquireContextFunction>(
      "advapi32.dll", "CryptAcquireContextA");
  GenRandomFunction generate =
      FindSystemEntry<GenRandomFunction>("advapi32.dll", "CryptGenRandom");
  ReleaseContextFunction release = FindSystemEntry<ReleaseContextFunction>(
      "advapi32.dll", "CryptReleaseContext");
};

const CryptoCalls& Crypto() {
  static const CryptoCalls calls;
  return calls;
}

struct CryptProviderTraits {
  using Handle = HCRYPTPROV;
  static Handle Invalid() { return 0; }
  static bool Close(Handle provider) {
    return Crypto().release(provider, 0) != FALSE;
  }
};

}  // namespace

platform::ErrorCode Win32Random::Fill(std::uint8_t* data, std::size_t size) {
  // advapi32 is loaded already: the program links it.
  if (auto generate = FindSystemEntry<RtlGenRandomFunction>(
          "advapi32.dll", "SystemFunction036")) {
    if (generate(data, static_cast<ULONG>(size))) return platform::kSuccess;
  }
  const CryptoCalls& crypto = Crypto();
  if (crypto.acquire == nullptr || crypto.generate == nullptr ||
      crypto.release == nullptr) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  ScopedHandle<CryptProviderTraits> provider;
  if (!crypto.acquire(provider.Receive(), nullptr, nullptr, PROV_RSA_FULL,
                      CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    return LastFailure();
  }
  if (!crypto.generate(provider.Get(), static_cast<DWORD>(size), data)) {
    return LastFailure();
  }
  return platform::kSuccess;
}

}  // namespace plumeta::win32
