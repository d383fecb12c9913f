// What the files interface answers, as the kernel32 calls behind it answer:
// the box's files and Win32's.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/contract/beds.h"

namespace plumeta::contract {
namespace {

using platform::FileProtection;

// Wine keeps the read-only attribute as the Unix mode, which a prefix run by
// root (as on this machine) writes through: there a write onto a read-only
// file is not refused.
bool ReadOnlyIsKept() { return !UnderWine(); }

TEST_P(FilesContract, WritesAndReadsBackContentAsItStands) {
  const struct {
    const char* name;
    std::string content;
  } kRows[] = {
      {"empty", ""},
      {"text lines", "-dNOPAUSE\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n"},
      {"bytes with NULs", std::string("a\0b\xff\n", 5)},
      {"larger than one write", std::string(200000, 'x') + "end"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::string path = Make("content.txt", row.content);
    EXPECT_EQ(files().ReadFile(path), row.content);
    EXPECT_EQ(files().Size(path), row.content.size());
  }
  // The protected write replaces an older, longer text whole.
  ASSERT_EQ(files().WriteTextFile(Path("CONTENT.TXT"), "new",
                                  FileProtection::kAdministratorsAndSystemOnly),
            platform::kSuccess);
  EXPECT_EQ(Text("content.txt"), "new");
}

TEST_P(FilesContract, WriteTextFileReportsWhyItCannot) {
  Make("ro.txt", "kept");
  ASSERT_EQ(files().SetReadOnly(Path("ro.txt"), true), platform::kSuccess);
  Make("held.pdf", "kept");
  auto held = bed().Hold(Path("held.pdf"));
  const struct {
    const char* name;
    std::string path;
    FileProtection protection;
    platform::ErrorCode expected;
  } kRows[] = {
      {"missing folder", Path("missing\\x.txt"), FileProtection::kInherited,
       platform::kErrorPathNotFound},
      {"a folder", bed().folder(), FileProtection::kInherited,
       platform::kErrorAccessDenied},

      {"read-only, protected", Path("ro.txt"),
       FileProtection::kAdministratorsAndSystemOnly,
       platform::kErrorAccessDenied},
      {"held", Path("held.pdf"), FileProtection::kInherited,
       platform::kErrorSharingViolation},
      {"bad name", Path("bad|name"), FileProtection::kInherited,
       platform::kErrorInvalidName},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(files().WriteTextFile(row.path, "x", row.protection),
              row.expected);
  }
  if (ReadOnlyIsKept()) {
    EXPECT_EQ(
        files().WriteTextFile(Path("ro.txt"), "x", FileProtection::kInherited),
        platform::kErrorAccessDenied);
  }
  held.reset();
  EXPECT_EQ(Text("held.pdf"), "kept");
  EXPECT_EQ(Text("ro.txt"), "kept");
  EXPECT_EQ(files().ReadFile(Path("missing.txt")), std::nullopt);
}

TEST_P(FilesContract, ExistsSizeAndIsFolderByKind) {
  const std::string file = Make("a.txt", "12345");
  for (const std::string& spelling : {file, Path("A.TXT")}) {
    SCOPED_TRACE(spelling);
    EXPECT_TRUE(files().Exists(spelling));
    EXPECT_EQ(files().Size(spelling), 5u);
    EXPECT_FALSE(files().IsFolder(spelling));
  }
  EXPECT_FALSE(files().Exists(bed().folder()));
  EXPECT_TRUE(files().IsFolder(bed().folder()));
  EXPECT_FALSE(files().Exists(Path("missing.txt")));
  // Size names one file by its exact name.
  for (const std::string& path :
       {bed().folder(), Path("*.txt"), Path("?.txt"), Path("missing.txt")}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(files().Size(path), std::nullopt);
  }
}

TEST_P(FilesContract, DeleteAnswersAsDeleteFileA) {
  const std::string file = Make("file.txt", "x");
  EXPECT_EQ(files().Delete(file), platform::kSuccess);
  EXPECT_FALSE(files().Exists(file));
  EXPECT_EQ(files().Delete(file), platform::kErrorFileNotFound);
  EXPECT_EQ(files().Delete(Path("missing\\x.txt")),
            platform::kErrorPathNotFound);
  EXPECT_EQ(files().Delete(bed().folder()), platform::kErrorAccessDenied);
  const std::string locked = Make("ro.txt", "x");
  ASSERT_EQ(files().SetReadOnly(locked, true), platform::kSuccess);
  EXPECT_EQ(files().Delete(locked), platform::kErrorAccessDenied);
  EXPECT_TRUE(files().Exists(locked));
}

TEST_P(FilesContract, CopyAnswersAsCopyFileA) {
  const std::string from = Make("from.txt", "new text");
  const std::string to = Make("to.txt", "old");
  EXPECT_EQ(files().Copy(from, to, true), platform::kErrorFileExists);
  EXPECT_EQ(Text("to.txt"), "old");
  EXPECT_EQ(files().Copy(from, to, false), platform::kSuccess);
  EXPECT_EQ(Text("to.txt"), "new text");
  EXPECT_EQ(files().Copy(Path("missing.txt"), to, false),
            platform::kErrorFileNotFound);
  EXPECT_EQ(files().Copy(from, Path("missing\\x.txt"), false),
            platform::kErrorPathNotFound);

  // Onto itself, under another case: the text must survive.
  EXPECT_EQ(files().Copy(from, Path("FROM.TXT"), false),
            platform::kErrorSharingViolation);
  EXPECT_EQ(Text("from.txt"), "new text");

  ASSERT_EQ(files().SetReadOnly(to, true), platform::kSuccess);
  if (ReadOnlyIsKept()) {
    EXPECT_EQ(files().Copy(from, to, false), platform::kErrorAccessDenied);
  }
  // The read-only attribute travels with the copy.
  EXPECT_EQ(files().Copy(to, Path("copy.txt"), true), platform::kSuccess);
  EXPECT_TRUE(files().IsReadOnly(Path("copy.txt")));
  files().SetReadOnly(to, false);
  files().SetReadOnly(Path("copy.txt"), false);
}

TEST_P(FilesContract, AHeldFileIsInUseAndCannotBeDeletedReplacedOrRead) {
  const std::string pdf = Path("1024.pdf");
  EXPECT_FALSE(files().InUse(pdf));
  Make("1024.pdf", "%PDF-1.4");
  const std::string other = Make("other.pdf", "other");
  EXPECT_FALSE(files().InUse(pdf));
  {
    auto held = bed().Hold(pdf);
    EXPECT_TRUE(files().InUse(pdf));
    EXPECT_EQ(files().Delete(pdf), platform::kErrorSharingViolation);
    // Windows refuses to rename onto a file another program holds with
    // access denied; the box says why.
    EXPECT_EQ(
        files().Replace(other, pdf),
        OnSide(platform::kErrorSharingViolation, platform::kErrorAccessDenied));
    EXPECT_EQ(files().Replace(pdf, Path("moved.pdf")),
              platform::kErrorSharingViolation);
    EXPECT_EQ(files().Copy(pdf, Path("copy.pdf"), false),
              platform::kErrorSharingViolation);
    EXPECT_EQ(files().ReadFile(pdf), std::nullopt);
    // Read from the folder entry, the size is known while the file is held.
    EXPECT_EQ(files().Size(pdf), 8u);
  }
  EXPECT_FALSE(files().InUse(pdf));
  EXPECT_FALSE(files().InUse(bed().folder()));
  EXPECT_EQ(files().ReadFile(pdf), "%PDF-1.4");
  EXPECT_EQ(Text("other.pdf"), "other");
}

TEST_P(FilesContract, ReplacePutsOneFileInTheOthersPlace) {
  const std::string fresh = Make("fresh.tmp", "fresh");
  const std::string target = Make("target.txt", "stale");
  ASSERT_EQ(files().Replace(fresh, target), platform::kSuccess);
  EXPECT_EQ(Text("target.txt"), "fresh");
  EXPECT_FALSE(files().Exists(fresh));

  // A missing replacement leaves the target alone.
  EXPECT_EQ(files().Replace(fresh, target), platform::kErrorFileNotFound);
  EXPECT_EQ(Text("target.txt"), "fresh");
  // The target need not exist.
  Make("fresh.tmp", "again");
  ASSERT_EQ(files().Replace(fresh, Path("new.txt")), platform::kSuccess);
  EXPECT_EQ(Text("new.txt"), "again");

  Make("fresh.tmp", "third");
  ASSERT_EQ(files().SetReadOnly(target, true), platform::kSuccess);
  if (ReadOnlyIsKept()) {
    EXPECT_EQ(files().Replace(fresh, target), platform::kErrorAccessDenied);
    EXPECT_EQ(Text("target.txt"), "fresh");
  }
  files().SetReadOnly(target, false);
}

// MoveNew never replaces: the file there and the one moved both stay.
TEST_P(FilesContract, MovesOnlyWhereNothingIs) {
  const std::string from = Make("partial.tmp", "new");
  const std::string taken = Make("taken.pdf", "old");
  EXPECT_EQ(files().MoveNew(from, taken), platform::kErrorAlreadyExists);
  EXPECT_EQ(Text("taken.pdf"), "old");
  EXPECT_EQ(files().MoveNew(from, Path("free.pdf")), platform::kSuccess);
  EXPECT_EQ(Text("free.pdf"), "new");
  EXPECT_FALSE(files().Exists(from));
}

// The files of a folder, its folders left out; none for a missing folder.
TEST_P(FilesContract, ListsTheFilesOfAFolder) {
  Make("1024-7.pdf", "a");
  Make("Long name.pdf", "b");
  ASSERT_EQ(files().CreateFolder(Path("sub")), platform::kSuccess);
  std::vector<std::string> names = files().FileNames(bed().folder());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"1024-7.pdf", "Long name.pdf"}));
  EXPECT_TRUE(files().FileNames(Path("missing")).empty());
}

TEST_P(FilesContract, ReadOnlyAttribute) {
  const std::string path = Make("locked.txt", "old");
  EXPECT_FALSE(files().IsReadOnly(path));
  ASSERT_EQ(files().SetReadOnly(path, true), platform::kSuccess);
  EXPECT_TRUE(files().IsReadOnly(path));
  ASSERT_EQ(files().SetReadOnly(path, false), platform::kSuccess);
  EXPECT_FALSE(files().IsReadOnly(path));
  EXPECT_EQ(files().Delete(path), platform::kSuccess);
  EXPECT_EQ(files().SetReadOnly(path, true), platform::kErrorFileNotFound);
}

TEST_P(FilesContract, CreatesFolders) {
  EXPECT_EQ(files().CreateFolder(Path("Output")), platform::kSuccess);
  EXPECT_TRUE(files().IsFolder(Path("Output")));
  EXPECT_EQ(files().CreateFolder(Path("OUTPUT")),
            platform::kErrorAlreadyExists);
  EXPECT_EQ(files().CreateFolder(Path("missing\\sub")),
            platform::kErrorPathNotFound);
}

}  // namespace
}  // namespace plumeta::contract
