#include "monitor/response_file.h"

#include <gtest/gtest.h>

#include "common/ghostscript_arguments.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/gs_argument_reader.h"

namespace plumeta {
namespace {

constexpr char kTemp[] = "C:\\Temp\\";
constexpr char kGenerated[] = "00112233445566778899aabbccddeeff";

ConversionSettings Defaults() {
  return {"1.3", "Default", "", "", "1200", "11111111"};
}

std::string FileFor(const ConversionSettings& settings) {
  return GhostscriptArgumentFileText(
      ResponseFileArguments(settings, kTemp, kGenerated));
}

// The lines every file starts with, each followed by its empty line.
constexpr char kFixedLines[] =
    "-ID:\\build\\plumeta\\gs\\system32\\lib;D:\\build\\plumeta\\gs\\fonts\r\n"
    "\r\n"
    "-sDEVICE=pdfwrite\r\n"
    "\r\n"
    "-sOutputFile=C:\\Temp\\1024.pdf\r\n"
    "\r\n"
    "-dNOPAUSE\r\n"
    "\r\n"
    "-dSAFER\r\n"
    "\r\n"
    "-dBATCH\r\n"
    "\r\n"
    "-r1200\r\n"
    "\r\n";

TEST(ResponseFileTest, DefaultSettingsGiveTheEighteenLines) {
  EXPECT_EQ(FileFor(Defaults()), std::string(kFixedLines) +
                                     "-dCompatibilityLevel=1.3\r\n"
                                     "\r\n"
                                     "-dPDFSETTINGS=/default\r\n"
                                     "\r\n");
}

TEST(ResponseFileTest, OwnerPasswordGivesTwentySixLines) {
  ConversionSettings settings = Defaults();
  settings.owner_password = "own";
  EXPECT_EQ(FileFor(settings), std::string(kFixedLines) +
                                   "-dCompatibilityLevel=1.4\r\n"
                                   "\r\n"
                                   "-dPDFSETTINGS=/default\r\n"
                                   "\r\n"
                                   "-sOwnerPassword=own\r\n"
                                   "\r\n"
                                   "-dEncryptionR#3\r\n"
                                   "\r\n"
                                   "-dKeyLength#128\r\n"
                                   "\r\n"
                                   "-dPermissions#-4\r\n"
                                   "\r\n");
}

TEST(ResponseFileTest, BothPasswordsGiveTwentyEightLines) {
  ConversionSettings settings = Defaults();
  settings.owner_password = "own";
  settings.user_password = "usr";
  EXPECT_EQ(FileFor(settings), std::string(kFixedLines) +
                                   "-dCompatibilityLevel=1.4\r\n"
                                   "\r\n"
                                   "-dPDFSETTINGS=/default\r\n"
                                   "\r\n"
                                   "-sOwnerPassword=own\r\n"
                                   "\r\n"
                                   "-sUserPassword=usr\r\n"
                                   "\r\n"
                                   "-dEncryptionR#3\r\n"
                                   "\r\n"
                                   "-dKeyLength#128\r\n"
                                   "\r\n"
                                   "-dPermissions#-4\r\n"
                                   "\r\n");
}

// Ghostscript refuses to encrypt without an owner password, so the file that
// withholds printing without passwords carries the generated one: the
// twenty-four lines plus its two.
TEST(ResponseFileTest, WithheldPrintingWithoutPasswordsGetsAnOwnerPassword) {
  ConversionSettings settings = Defaults();
  settings.permission = "01111111";
  EXPECT_EQ(FileFor(settings), std::string(kFixedLines) +
                                   "-dCompatibilityLevel=1.4\r\n"
                                   "\r\n"
                                   "-dPDFSETTINGS=/default\r\n"
                                   "\r\n"
                                   "-sOwnerPassword=" +
                                   kGenerated +
                                   "\r\n"
                                   "\r\n"
                                   "-dEncryptionR#3\r\n"
                                   "\r\n"
                                   "-dKeyLength#128\r\n"
                                   "\r\n"
                                   "-dPermissions#-8\r\n"
                                   "\r\n");
}

TEST(ResponseFileTest, UserPasswordAloneGetsAnOwnerPasswordToo) {
  ConversionSettings settings = Defaults();
  settings.user_password = "usr";
  const auto arguments = ResponseFileArguments(settings, kTemp, kGenerated);
  ASSERT_EQ(arguments.size(), 14u);
  EXPECT_EQ(arguments[9], std::string("-sOwnerPassword=") + kGenerated);
  EXPECT_EQ(arguments[10], "-sUserPassword=usr");
  EXPECT_EQ(arguments[13], "-dPermissions#-4");
  // A password made only of characters that cannot reach Ghostscript is none.
  settings.owner_password = "\r\n";
  EXPECT_TRUE(NeedsGeneratedOwnerPassword(settings));
  EXPECT_EQ(ResponseFileArguments(settings, kTemp, kGenerated)[9],
            std::string("-sOwnerPassword=") + kGenerated);
}

TEST(ResponseFileTest, NoGeneratedPasswordWithoutEncryptionOrWithOwn) {
  EXPECT_FALSE(NeedsGeneratedOwnerPassword(Defaults()));
  ConversionSettings settings = Defaults();
  settings.owner_password = "own";
  settings.permission = "00000000";
  EXPECT_FALSE(NeedsGeneratedOwnerPassword(settings));
}

TEST(ResponseFileTest, QualityPresets) {
  const struct {
    const char* quality;
    const char* argument;
  } kRows[] = {
      {"Default", "-dPDFSETTINGS=/default"},
      {"Screen", "-dPDFSETTINGS=/screen"},
      {"Ebook", "-dPDFSETTINGS=/ebook"},
      {"Print", "-dPDFSETTINGS=/printer"},
      {"Prepress", "-dPDFSETTINGS=/prepress"},
      {"PRINT", "-dPDFSETTINGS=/print"},
      {"print", "-dPDFSETTINGS=/print"},
      {"\xC4Z", "-dPDFSETTINGS=/\xC4z"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.quality);
    ConversionSettings settings = Defaults();
    settings.quality = row.quality;
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, "")[8], row.argument);
  }
}

TEST(ResponseFileTest, CompatibilityLevel) {
  const struct {
    const char* version;
    const char* owner_password;
    const char* permission;
    const char* argument;
  } kRows[] = {
      {"1.2", "", "11111111", "-dCompatibilityLevel=1.2"},
      {"1.2", "own", "11111111", "-dCompatibilityLevel=1.4"},
      {"1.3", "", "11111110", "-dCompatibilityLevel=1.4"},
      {"1.5", "", "11111111", "-dCompatibilityLevel=1.5"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.version);
    ConversionSettings settings = Defaults();
    settings.version = row.version;
    settings.owner_password = row.owner_password;
    settings.permission = row.permission;
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, kGenerated)[7],
              row.argument);
  }
}

// The resolution line takes no quotes: only a number may stand on it.
TEST(ResponseFileTest, ResolutionLineCarriesOnlyAWholeNumber) {
  const struct {
    const char* resolution;
    const char* argument;
  } kRows[] = {
      {"500", "-r500"},     {"0300", "-r0300"},
      {"300=\"", "-r1200"}, {"300 -dNOSAFER", "-r1200"},
      {"3\\", "-r1200"},    {"3\r\n00", "-r1200"},
      {"0", "-r1200"},      {"-300", "-r1200"},
      {"1.5", "-r1200"},    {"", "-r1200"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.resolution);
    ConversionSettings settings = Defaults();
    settings.resolution = row.resolution;
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, "")[6], row.argument);
  }
}

// Whatever the settings and the temporary folder hold, the file gives
// Ghostscript the same number of arguments, each value whole.
TEST(ResponseFileTest, NoSettingSplitsOrAddsAnArgument) {
  const std::string nasty[] = {
      "two words",
      "a\"b",
      "ab\\",
      "a\\\"b",
      "x\r\n-dNOSAFER",
      " -sOutputFile=%pipe%calc",
      "\"",
      "#",
      "300=\"",
  };
  for (const std::string& value : nasty) {
    SCOPED_TRACE(value);
    ConversionSettings settings{value, value, value, value, value, "01111111"};
    const auto arguments =
        ResponseFileArguments(settings, "C:\\" + value + "\\", kGenerated);
    const auto read = testing::ReadGhostscriptArguments(
        GhostscriptArgumentFileText(arguments));
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 14u);
    const std::string arrives = WithoutControlCharacters(value);
    EXPECT_EQ((*read)[9], "-sOwnerPassword=" + arrives);
    EXPECT_EQ((*read)[10], "-sUserPassword=" + arrives);
    EXPECT_EQ((*read)[2],
              "-sOutputFile=" +
                  GhostscriptLiteralFileName("C:\\" + arrives + "\\1024.pdf"));
  }
}

TEST(ResponseFileTest, OutputFileWithSpacesAndPercent) {
  const auto arguments = ResponseFileArguments(
      Defaults(), "C:\\Documents and Settings\\100%\\Temp\\", "");
  EXPECT_EQ(arguments[2],
            "-sOutputFile=\"C:\\Documents and "
            "Settings\\100%%\\Temp\\1024.pdf\"");
}

TEST(ResponseFilePathTest, FromWindir) {
  testing::FakeSystem system;
  system.environment["windir"] = "C:\\WINDOWS";
  EXPECT_EQ(ResponseFilePath(system), "C:\\WINDOWS\\system32\\plum.rsp");
  system.environment.clear();
  EXPECT_EQ(ResponseFilePath(system), "\\system32\\plum.rsp");
}

TEST(LastResultPathTest, OneBackslashBetweenFolderAndName) {
  EXPECT_EQ(LastResultPath("C:\\Temp\\"), "C:\\Temp\\1024.pdf");
  EXPECT_EQ(LastResultPath("C:\\Temp"), "C:\\Temp\\1024.pdf");
  EXPECT_EQ(LastResultPath(""), "\\1024.pdf");
}

TEST(HexOwnerPasswordTest, TwoDigitsPerByte) {
  EXPECT_EQ(HexOwnerPassword({0x00, 0x0f, 0xa5, 0xff}), "000fa5ff");
}

}  // namespace
}  // namespace plumeta
