// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/protected_file_security.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace plumeta::win32 {
namespace {

using platform::ErrorCode;
using platform::kSuccess;

// Looked up at run time: Windows 9x's advapi32 has no file security, and
// SetSecurityDescriptorControl came with Windows 2000.
struct SecurityCalls {
  using InitializeAclFunction = BOOL(WINAPI*)(PACL, DWORD, DWORD);
  using AddAccessAllowedAceFunction = BOOL(WINAPI*)(PACL, DWORD, DWORD, PSID);
  using InitializeDescriptorFunction = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR,
                                                     DWORD);
  using SetDaclFunction = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
  using SetControlFunction = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR,
                                           SECURITY_DESCRIPTOR_CONTROL,
                                           SECURITY_DESCRIPTOR_CONTROL);

  InitializeAclFunction initialize_acl =
      FindSystemEntry<InitializeAclFunction>("advapi32.dll", "InitializeAcl");
  AddAccessAllowedAceFunction add_allowed_ace =
      FindSystemEntry<AddAccessAllowedAceFunction>("advapi32.dll",
                                                   "AddAccessAllowedAce");
  InitializeDescriptorFunction initialize_descriptor =
      FindSystemEntry<InitializeDescriptorFunction>(
          "advapi32.dll", "InitializeSecurityDescriptor");
  SetDaclFunction set_dacl = FindSystemEntry<SetDaclFunction>(
      "advapi32.dll", "SetSecurityDescriptorDacl");
  SetControlFunction set_control = FindSystemEntry<SetControlFunction>(
      "advapi32.dll", "SetSecurityDescriptorControl");

  bool HasFileSecurity() const {
    return initialize_acl != nullptr && add_allowed_ace != nullptr &&
           initialize_descriptor != nullptr && set_dacl != nullptr;
  }
};

// A SID of the NT authority written out: revision, count, authority,
// sub-authorities. No call needed, so nothing to fail.
void WriteNtSid(std::uint8_t* buffer, std::initializer_list<DWORD> rids) {
  SID sid{};
  sid.Revision = SID_REVISION;
  sid.SubAuthorityCount = static_cast<BYTE>(rids.size());
  sid.IdentifierAuthority = SECURITY_NT_AUTHORITY;
  std::memcpy(buffer, &sid, offsetof(SID, SubAuthority));
  std::memcpy(buffer + offsetof(SID, SubAuthority), rids.begin(),
              rids.size() * sizeof(DWORD));
}

}  // namespace

ErrorCode ProtectedFileSecurity::Build() {
  static const SecurityCalls calls;
  if (!calls.HasFileSecurity()) return kSuccess;
  if (!calls.initialize_descriptor(&descriptor_,
                                   SECURITY_DESCRIPTOR_REVISION)) {
    // A system without file security can have the entry point and refuse
    // the call (Wine told it runs as Windows 9x does).
    const ErrorCode error = LastFailure();
    return error == ERROR_CALL_NOT_IMPLEMENTED ? kSuccess : error;
  }
  WriteNtSid(administrators_,
             {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
  WriteNtSid(system_, {SECURITY_LOCAL_SYSTEM_RID});
  auto* acl = reinterpret_cast<PACL>(acl_);
  if (!calls.initialize_acl(acl, sizeof(acl_), ACL_REVISION) ||
      !calls.add_allowed_ace(acl, ACL_REVISION, FILE_ALL_ACCESS,
                             administrators_) ||
      !calls.add_allowed_ace(acl, ACL_REVISION, FILE_ALL_ACCESS, system_) ||
      !calls.set_dacl(&descriptor_, TRUE, acl, FALSE)) {
    return LastFailure();
  }
  // Without the protection, Windows 2000 and later add the folder's
  // inheritable entries to the new file's list.
  if (calls.set_control != nullptr &&
      !calls.set_control(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    return LastFailure();
  }
  attributes_.nLength = sizeof(attributes_);
  attributes_.lpSecurityDescriptor = &descriptor_;
  attributes_.bInheritHandle = FALSE;
  built_ = true;
  return kSuccess;
}

}  // namespace plumeta::win32
