// The monitor's own files, compared as Windows compares paths.
#include "monitor/own_files.h"

#include <gtest/gtest.h>

#include "tests/unit/support/fake_files.h"
#include "tests/unit/support/fake_system.h"

namespace plumeta {
namespace {

TEST(OwnFilesTest, ComparablePathsAsWindowsReadsThem) {
  const struct {
    const char* path;
    const char* comparable;
  } kRows[] = {
      {"C:\\Temp\\1024.pdf", "C:\\Temp\\1024.pdf"},
      {"c:/temp//./1024.PDF", "c:\\temp\\1024.PDF"},
      {"C:\\Temp\\x\\..\\..\\..\\1024.pdf", "C:\\1024.pdf"},
      {"C:\\Temp.\\1024.pdf. . ", "C:\\Temp\\1024.pdf"},
      {"\\\\?\\C:\\Temp\\1024.pdf", "C:\\Temp\\1024.pdf"},
      {"\\\\server\\share\\..\\a.pdf", "\\\\server\\share\\a.pdf"},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(ComparablePath(row.path), row.comparable) << row.path;
  }
}

TEST(OwnFilesTest, AsideNamesCarryTheJobId) {
  EXPECT_EQ(AsidePath("C:\\Temp\\1024.pdf", 7), "C:\\Temp\\1024-7.pdf");
  const struct {
    const char* name;
    std::optional<std::uint32_t> id;
  } kRows[] = {
      {"1024-7.pdf", 7u},
      {"1024-4294967295.PDF", 4294967295u},
      {"1024-.pdf", std::nullopt},
      {"1024-4294967296.pdf", std::nullopt},
      {"1024-7x.pdf", std::nullopt},
      {"1024.pdf", std::nullopt},
      {"2048-7.pdf", std::nullopt},
      {"1024-7.pdf.tmp", std::nullopt},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(AsideJobId("C:\\Temp\\1024.pdf", row.name), row.id) << row.name;
  }
}

TEST(OwnFilesTest, WhichPathsAreTheMonitorsOwn) {
  testing::FakeFiles files;
  files.files["C:\\Temp\\1024-3.pdf"] = "%PDF";
  files.aliases["C:\\DOCUME~1\\1024-3.pdf"] = "C:\\Temp\\1024-3.pdf";
  testing::FakeSystem system;
  system.environment["windir"] = "C:\\WINDOWS";
  const struct {
    const char* path;
    bool wow64;
    bool own;
  } kRows[] = {
      {"C:\\TEMP\\1024.PDF", false, true},
      {"C:\\Temp\\sub\\..\\1024.pdf.", false, true},
      {"C:\\Temp\\1024-12.pdf", false, true},
      {"C:\\Temp\\1024.LOG", false, true},
      {"C:\\DOCUME~1\\1024-3.pdf", false, true},
      {"C:\\Other\\1024-12.pdf", false, false},
      {"C:\\Temp\\1024 (2).pdf", false, false},
      {"C:\\Temp\\Letter.pdf", false, false},
      {"c:\\windows\\System32\\PLUM.RSP", false, true},
      {"C:\\WINDOWS\\SysWOW64\\plum.rsp", false, false},
      {"C:\\WINDOWS\\SysWOW64\\plum.rsp", true, true},
      {"C:\\WINDOWS\\Sysnative\\plum.rsp", true, true},
      {"C:\\WINDOWS\\plum.rsp", true, false},
  };
  for (const auto& row : kRows) {
    const OwnFiles own{"C:\\Temp\\1024.pdf",
                       ArgumentFilePaths(system, row.wow64)};
    EXPECT_EQ(IsOwnFile(files, own, row.path), row.own)
        << row.path << (row.wow64 ? " under WOW64" : "");
  }
}

}  // namespace
}  // namespace plumeta
