#include "platform/win32/files.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(FilesTest, WritesAndReadsBackContentAsItStands) {
  struct Row {
    const char* name;
    std::string content;
  } rows[] = {
      {"empty", ""},
      {"text lines", "-dNOPAUSE\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n"},
      {"bytes with NULs", std::string("a\0b\xff\n", 5)},
      {"larger than one write", std::string(200000, 'x') + "end"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = folder_.File("content.txt");
    ASSERT_EQ(
        files_.WriteTextFile(path, row.content, FileProtection::kInherited),
        0u);
    EXPECT_EQ(ReadWholeFile(path), row.content);
    EXPECT_EQ(files_.ReadFile(path), row.content);
    EXPECT_EQ(files_.Size(path), row.content.size());
  }
}

TEST_F(FilesTest, ReportsTheCodeOfTheFailingStep) {
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.WriteTextFile(folder_.File("missing\\file.txt"), "x",
                                 FileProtection::kInherited),
            3u);
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(
      files_.WriteTextFile(folder_.path(), "x", FileProtection::kInherited),
      5u);
  EXPECT_EQ(files_.ReadFile(folder_.File("missing.txt")), std::nullopt);
}

TEST_F(FilesTest, ExistsOnlyForFiles) {
  const std::string file = folder_.File("file.txt");
  ASSERT_TRUE(WriteWholeFile(file, "x"));
  EXPECT_TRUE(files_.Exists(file));
  EXPECT_FALSE(files_.Exists(folder_.path()));
  EXPECT_FALSE(files_.Exists(folder_.File("missing.txt")));
  EXPECT_EQ(files_.Delete(file), 0u);
  EXPECT_FALSE(files_.Exists(file));
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.Delete(file), 2u);
}

TEST_F(FilesTest, CopiesWithAndWithoutFailIfExists) {
  const std::string from = folder_.File("from.txt");
  const std::string to = folder_.File("to.txt");
  ASSERT_TRUE(WriteWholeFile(from, "new"));
  ASSERT_TRUE(WriteWholeFile(to, "old"));
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.Copy(from, to, true), 80u);
  EXPECT_EQ(ReadWholeFile(to), "old");
  EXPECT_EQ(files_.Copy(from, to, false), 0u);
  EXPECT_EQ(ReadWholeFile(to), "new");
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.Copy(folder_.File("missing.txt"), to, true), 2u);
  EXPECT_EQ(files_.Copy(from, folder_.File("missing\\to.txt"), true), 3u);
}

TEST_F(FilesTest, InUseWhileAnotherHandleHoldsTheFileExclusively) {
  const std::string path = folder_.File("held.pdf");
  EXPECT_FALSE(files_.InUse(path));
  ASSERT_TRUE(WriteWholeFile(path, "%PDF-1.4"));
  EXPECT_FALSE(files_.InUse(path));
  {
    ScopedFileHandle held(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(files_.InUse(path));
    // Read from the folder entry, the size is known while the file is held.
    EXPECT_EQ(files_.Size(path), 8u);
  }
  EXPECT_FALSE(files_.InUse(path));
  EXPECT_FALSE(files_.InUse(folder_.path()));
}

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

TEST_F(FilesTest, SizeOnlyForOneFileByItsExactName) {
  ASSERT_TRUE(WriteWholeFile(folder_.File("a.txt"), "abc"));
  EXPECT_EQ(files_.Size(folder_.File("a.txt")), 3u);
  EXPECT_EQ(files_.Size(folder_.File("*.txt")), std::nullopt);
  EXPECT_EQ(files_.Size(folder_.File("?.txt")), std::nullopt);
  EXPECT_EQ(files_.Size(folder_.path()), std::nullopt);
  EXPECT_EQ(files_.Size(folder_.File("missing.txt")), std::nullopt);
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

TEST_F(FilesTest, ReplacesATarget) {
  struct Row {
    const char* name;
    platform::ErrorCode (*replace)(Win32Files*, const std::string&,
                                   const std::string&);
  } rows[] = {
      {"MoveFileExA",
       [](Win32Files* files, const std::string& from, const std::string& to) {
         return files->Replace(from, to);
       }},
      {"delete and move, as on Windows 9x",
       [](Win32Files*, const std::string& from, const std::string& to) {
         return ReplaceByDeleteAndMove(from, to);
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string replacement = folder_.File("new.tmp");
    const std::string target = folder_.File("target.txt");
    ASSERT_TRUE(WriteWholeFile(replacement, "new"));
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    EXPECT_EQ(row.replace(&files_, replacement, target), 0u);
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_FALSE(files_.Exists(replacement));

    // A missing replacement leaves the target alone.
    ::SetLastError(wine_test::kUntouchedError);
    EXPECT_EQ(row.replace(&files_, replacement, target), 2u);
    EXPECT_EQ(ReadWholeFile(target), "new");

    // The target need not exist.
    ASSERT_EQ(::DeleteFileA(target.c_str()), TRUE);
    ASSERT_TRUE(WriteWholeFile(replacement, "again"));
    EXPECT_EQ(row.replace(&files_, replacement, target), 0u);
    EXPECT_EQ(ReadWholeFile(target), "again");
    ::DeleteFileA(target.c_str());
  }
}

// MoveNew never replaces: the file there and the one moved both stay.
TEST_F(FilesTest, MovesOnlyWhereNothingIs) {
  const std::string from = folder_.File("partial.tmp");
  const std::string taken = folder_.File("taken.pdf");
  ASSERT_TRUE(WriteWholeFile(from, "new"));
  ASSERT_TRUE(WriteWholeFile(taken, "old"));
  EXPECT_EQ(files_.MoveNew(from, taken), platform::kErrorAlreadyExists);
  EXPECT_EQ(ReadWholeFile(taken), "old");
  EXPECT_EQ(files_.MoveNew(from, folder_.File("free.pdf")), 0u);
  EXPECT_EQ(ReadWholeFile(folder_.File("free.pdf")), "new");
  EXPECT_FALSE(files_.Exists(from));
  EXPECT_TRUE(files_.IsFolder(folder_.path()));
  EXPECT_FALSE(files_.IsFolder(taken));
}

// The files of a folder, its folders left out; none for a missing folder.
TEST_F(FilesTest, ListsTheFilesOfAFolder) {
  ASSERT_TRUE(WriteWholeFile(folder_.File("1024-7.pdf"), "a"));
  ASSERT_TRUE(WriteWholeFile(folder_.File("Long name.pdf"), "b"));
  ASSERT_TRUE(::CreateDirectoryA(folder_.File("sub").c_str(), nullptr));
  std::vector<std::string> names = files_.FileNames(folder_.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"1024-7.pdf", "Long name.pdf"}));
  EXPECT_TRUE(files_.FileNames(folder_.File("missing")).empty());
  ::RemoveDirectoryA(folder_.File("sub").c_str());
}

TEST_F(FilesTest, ReadOnlyAttribute) {
  const std::string path = folder_.File("locked.txt");
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  EXPECT_FALSE(files_.IsReadOnly(path));
  ASSERT_EQ(files_.SetReadOnly(path, true), 0u);
  EXPECT_TRUE(files_.IsReadOnly(path));
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.Delete(path), 5u);
  // The protected write must make the file anew, which a read-only file
  // does not allow: the old content stays.
  EXPECT_EQ(files_.WriteTextFile(path, "new",
                                 FileProtection::kAdministratorsAndSystemOnly),
            5u);
  EXPECT_EQ(ReadWholeFile(path), "old");
  ASSERT_EQ(files_.SetReadOnly(path, false), 0u);
  EXPECT_FALSE(files_.IsReadOnly(path));
  EXPECT_EQ(files_.Delete(path), 0u);
  EXPECT_EQ(files_.SetReadOnly(path, true), 2u);
}

TEST_F(FilesTest, CreatesFolders) {
  const std::string path = folder_.File("sub");
  EXPECT_EQ(files_.CreateFolder(path), 0u);
  EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ::SetLastError(wine_test::kUntouchedError);
  EXPECT_EQ(files_.CreateFolder(path), 183u);
  EXPECT_EQ(files_.CreateFolder(folder_.File("missing\\sub")), 3u);
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
