// Files as Win32 keeps them, beyond the contract (tests/contract): parts
// past 4 GB, one file under every spelling, the fallbacks of old Windows, and
// the protected file's security.
#include "platform/win32/files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "tests/wine/support/wine_test_support.h"

// After the project headers: <aclapi.h> needs <windows.h> first.
#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/protected_file_security.h"

namespace plumeta::win32 {
namespace {

using platform::FileProtection;
using wine_test::ReadWholeFile;
using wine_test::WriteWholeFile;

class FilesTest : public ::testing::Test {
 protected:
  Win32Files files_;
  wine_test::ScratchFolder folder_;
};

// A part of a file, at offsets past 4 GB too (SetFilePointer's high part):
// the file is made with a hole, which Wine leaves sparse.
TEST_F(FilesTest, ReadsAPartFromAnyOffset) {
  const std::string path = folder_.File("large.pdf");
  constexpr std::uint64_t kEnd = (5ull << 30) + 7;
  {
    ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), "%PDF-", 5, &written, nullptr));
    LONG high = static_cast<LONG>((kEnd - 5) >> 32);
    ::SetFilePointer(file.Get(), static_cast<LONG>((kEnd - 5) & 0xFFFFFFFFu),
                     &high, FILE_BEGIN);
    ASSERT_TRUE(::WriteFile(file.Get(), "%%EOF", 5, &written, nullptr));
  }
  const struct {
    std::uint64_t offset;
    std::size_t length;
    std::string part;
  } kRows[] = {
      {0, 5, "%PDF-"},
      {kEnd - 5, 4096, "%%EOF"},
      {kEnd - 7, 3, std::string("\0\0%", 3)},
      {kEnd + 10, 4, ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.offset);
    EXPECT_EQ(files_.ReadPart(path, row.offset, row.length), row.part);
  }
  EXPECT_EQ(files_.ReadPart(folder_.File("missing.pdf"), 0, 5), std::nullopt);
  ::DeleteFileA(path.c_str());
}

TEST_F(FilesTest, FactsNameOneFileUnderEverySpellingAndKeepOthersOut) {
  const std::string path = folder_.File("facts.pdf");
  EXPECT_EQ(files_.Facts(path), std::nullopt);
  EXPECT_EQ(files_.Facts(folder_.path()), std::nullopt);
  ASSERT_TRUE(WriteWholeFile(path, "%PDF-1.4"));
  ASSERT_TRUE(WriteWholeFile(folder_.File("other.pdf"), "%PDF-1.4"));
  const std::optional<platform::FileFacts> facts = files_.Facts(path);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->size, 8u);
  char short_path[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameA(path.c_str(), short_path, MAX_PATH), 0u);
  const std::string dotted = folder_.path() + "\\.\\FACTS.PDF";
  for (const std::string& spelling : {std::string(short_path), dotted}) {
    SCOPED_TRACE(spelling);
    const auto same = files_.Facts(spelling);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->SameFileAs(*facts));
  }
  EXPECT_FALSE(files_.Facts(folder_.File("other.pdf"))->SameFileAs(*facts));
  // A writer holding the file shares nothing: the facts are still read.
  {
    ScopedFileHandle held(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(files_.Facts(path));
  }
  EXPECT_EQ(files_.Delete(path), 0u);
}

// As on Windows 9x, where MoveFileExA is missing: the target goes first.
TEST_F(FilesTest, ReplacesATargetByDeleteAndMove) {
  const std::string replacement = folder_.File("new.tmp");
  const std::string target = folder_.File("target.txt");
  ASSERT_TRUE(WriteWholeFile(replacement, "new"));
  ASSERT_TRUE(WriteWholeFile(target, "old"));
  EXPECT_EQ(ReplaceByDeleteAndMove(replacement, target), 0u);
  EXPECT_EQ(ReadWholeFile(target), "new");
  EXPECT_FALSE(files_.Exists(replacement));

  // A missing replacement leaves the target alone.
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(ReplaceByDeleteAndMove(replacement, target), 2u);
  EXPECT_EQ(ReadWholeFile(target), "new");

  // The target need not exist.
  ASSERT_EQ(::DeleteFileA(target.c_str()), TRUE);
  ASSERT_TRUE(WriteWholeFile(replacement, "again"));
  EXPECT_EQ(ReplaceByDeleteAndMove(replacement, target), 0u);
  EXPECT_EQ(ReadWholeFile(target), "again");
}

// The interface's read-only flag is the file's attribute.
TEST_F(FilesTest, ReadOnlyIsTheFilesAttribute) {
  const std::string path = folder_.File("locked.txt");
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  ASSERT_EQ(files_.SetReadOnly(path, true), 0u);
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(files_.SetReadOnly(path, false), 0u);
}

// The allow entries of a DACL: who, and what access.
using Grants = std::vector<std::pair<PSID, ACCESS_MASK>>;

// The DACL of `path`; false (with `why`) when it cannot be read or holds
// anything but allow entries.
bool ReadGrants(const std::string& path, bool* is_protected, Grants* grants,
                ScopedLocalMemory* descriptor, std::string* why) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  const DWORD status = ::GetNamedSecurityInfoA(
      path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
      &dacl, nullptr, &sd);
  descriptor->Reset(sd);
  if (status != ERROR_SUCCESS) {
    *why = "GetNamedSecurityInfoA failed with " + std::to_string(status);
    return false;
  }
  if (dacl == nullptr) {
    *why = "the file has no DACL";
    return false;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ::GetSecurityDescriptorControl(sd, &control, &revision);
  *is_protected = (control & SE_DACL_PROTECTED) != 0;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!::GetAce(dacl, i, reinterpret_cast<void**>(&header)) ||
        header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
      *why = "entry " + std::to_string(i) + " is not an allow entry";
      return false;
    }
    auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    grants->emplace_back(reinterpret_cast<PSID>(&ace->SidStart), ace->Mask);
  }
  return true;
}

// The access granted to a well-known trustee; nullopt when it has no entry.
std::optional<ACCESS_MASK> GrantTo(const Grants& grants,
                                   WELL_KNOWN_SID_TYPE trustee) {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(sid);
  if (!::CreateWellKnownSid(trustee, nullptr, sid, &size)) return std::nullopt;
  for (const auto& [grantee, mask] : grants) {
    if (::EqualSid(grantee, sid)) return mask;
  }
  return std::nullopt;
}

TEST_F(FilesTest, ProtectedFileGrantsAdministratorsAndSystemOnly) {
  const std::string path = folder_.File("plum.rsp");
  // An existing file's own security must not survive the protected write.
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  ASSERT_EQ(files_.WriteTextFile(path, "-dSAFER\r\n",
                                 FileProtection::kAdministratorsAndSystemOnly),
            0u);
  EXPECT_EQ(ReadWholeFile(path), "-dSAFER\r\n");

  bool is_protected = false;
  Grants grants;
  ScopedLocalMemory descriptor;
  std::string why;
  ASSERT_TRUE(ReadGrants(path, &is_protected, &grants, &descriptor, &why))
      << why;
  EXPECT_EQ(GrantTo(grants, WinWorldSid), std::nullopt);
  EXPECT_EQ(GrantTo(grants, WinBuiltinUsersSid), std::nullopt);
  const bool kept = is_protected && grants.size() == 2 &&
                    GrantTo(grants, WinBuiltinAdministratorsSid).has_value();
  if (!kept && wine_test::RunsUnderWine()) {
    GTEST_SKIP() << "Wine keeps no security descriptor on files: it makes the "
                    "DACL up from the Unix mode (SYSTEM, the owner, Everyone "
                    "by the 'other' bits), so only the missing Everyone and "
                    "Users grants could be checked";
  }
  EXPECT_TRUE(is_protected);
  EXPECT_EQ(grants.size(), 2u);
  EXPECT_EQ(GrantTo(grants, WinBuiltinAdministratorsSid),
            ACCESS_MASK{FILE_ALL_ACCESS});
  EXPECT_EQ(GrantTo(grants, WinLocalSystemSid), ACCESS_MASK{FILE_ALL_ACCESS});
}

// Wine keeps no file security, but it reads a descriptor: the one built with
// Windows NT 4.0's calls says what the system's string form says.
TEST(ProtectedFileSecurityTest, IsTheAdministratorsAndSystemOnlyList) {
  ProtectedFileSecurity security;
  ASSERT_EQ(security.Build(), 0u);
  ASSERT_NE(security.Attributes(), nullptr);
  char* text = nullptr;
  ASSERT_TRUE(::ConvertSecurityDescriptorToStringSecurityDescriptorA(
      security.Attributes()->lpSecurityDescriptor, SDDL_REVISION_1,
      DACL_SECURITY_INFORMATION, &text, nullptr));
  ScopedLocalMemory owned(text);
  EXPECT_STREQ(text, kAdministratorsAndSystemOnlySddl);
}

}  // namespace
}  // namespace plumeta::win32
