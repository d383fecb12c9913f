#include "monitor/response_file.h"

#include <gtest/gtest.h>

#include "common/ghostscript_arguments.h"
#include "monitor/conversion_log.h"
#include "tests/support/gs_argument_reader.h"
#include "tests/unit/support/fake_system.h"

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
    "-sstdout=C:\\Temp\\1024.log\r\n"
    "\r\n"
    "-q\r\n"
    "\r\n"
    "-dNOPAUSE\r\n"
    "\r\n"
    "-dSAFER\r\n"
    "\r\n"
    "-dBATCH\r\n"
    "\r\n"
    "-r1200\r\n"
    "\r\n";

// Each line followed by its empty line, as the file lays them out.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n\r\n";
  return text;
}

// The lines every file ends with: the PostScript that runs the job.
std::string RunJobLines() {
  return Lines({"-c", std::string("\"") + kRunJobFragment + "\"", "-f"});
}

// The whole file for the password and permission settings. Ghostscript
// refuses to encrypt without an owner password, so a file that withholds
// printing without passwords carries the generated one.
TEST(ResponseFileTest, PasswordsAndPermissionsGiveTheirLines) {
  const std::string generated = std::string("-sOwnerPassword=") + kGenerated;
  const struct {
    const char* name;
    std::string owner_password;
    std::string user_password;
    std::string permission;
    std::string lines_after_fixed;
  } kRows[] = {
      {"defaults", "", "", "11111111",
       Lines({"-dCompatibilityLevel=1.3", "-dPDFSETTINGS=/default"})},
      {"owner password", "own", "", "11111111",
       Lines({"-dCompatibilityLevel=1.4", "-dPDFSETTINGS=/default",
              "-sOwnerPassword=own", "-dEncryptionR#3", "-dKeyLength#128",
              "-dPermissions#-4"})},
      {"both passwords", "own", "usr", "11111111",
       Lines({"-dCompatibilityLevel=1.4", "-dPDFSETTINGS=/default",
              "-sOwnerPassword=own", "-sUserPassword=usr", "-dEncryptionR#3",
              "-dKeyLength#128", "-dPermissions#-4"})},
      {"printing withheld, no password: the generated one", "", "", "01111111",
       Lines({"-dCompatibilityLevel=1.4", "-dPDFSETTINGS=/default", generated,
              "-dEncryptionR#3", "-dKeyLength#128", "-dPermissions#-8"})},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    ConversionSettings settings = Defaults();
    settings.owner_password = row.owner_password;
    settings.user_password = row.user_password;
    settings.permission = row.permission;
    EXPECT_EQ(FileFor(settings),
              kFixedLines + row.lines_after_fixed + RunJobLines());
  }
}

TEST(ResponseFileTest, UserPasswordAloneGetsAnOwnerPasswordToo) {
  ConversionSettings settings = Defaults();
  settings.user_password = "usr";
  const auto arguments = ResponseFileArguments(settings, kTemp, kGenerated);
  ASSERT_EQ(arguments.size(), 19u);
  EXPECT_EQ(arguments[11], std::string("-sOwnerPassword=") + kGenerated);
  EXPECT_EQ(arguments[12], "-sUserPassword=usr");
  EXPECT_EQ(arguments[15], "-dPermissions#-4");
  // A password made only of characters that cannot reach Ghostscript is none.
  settings.owner_password = "\r\n";
  EXPECT_TRUE(NeedsGeneratedOwnerPassword(settings));
  EXPECT_EQ(ResponseFileArguments(settings, kTemp, kGenerated)[11],
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
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, "")[10], row.argument);
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
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, kGenerated)[9],
              row.argument);
  }
}

// The resolution line takes no quotes: only a number may stand on it, and
// only one Ghostscript's PDF writer takes.
TEST(ResponseFileTest, ResolutionLineCarriesOnlyAWholeNumber) {
  const struct {
    const char* resolution;
    const char* argument;
  } kRows[] = {
      {"500", "-r500"},       {"0300", "-r0300"},
      {"300=\"", "-r1200"},   {"300 -dNOSAFER", "-r1200"},
      {"3\\", "-r1200"},      {"3\r\n00", "-r1200"},
      {"0", "-r1200"},        {"-300", "-r1200"},
      {"1.5", "-r1200"},      {"", "-r1200"},
      {"1", "-r1200"},        {"2", "-r2"},
      {"20000", "-r20000"},   {"20001", "-r1200"},
      {"99999999", "-r1200"}, {"99999999999999999999999", "-r1200"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.resolution);
    ConversionSettings settings = Defaults();
    settings.resolution = row.resolution;
    EXPECT_EQ(ResponseFileArguments(settings, kTemp, "")[8], row.argument);
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
    ASSERT_EQ(read->size(), 19u);
    const std::string arrives = WithoutControlCharacters(value);
    EXPECT_EQ((*read)[11], "-sOwnerPassword=" + arrives);
    EXPECT_EQ((*read)[12], "-sUserPassword=" + arrives);
    EXPECT_EQ((*read)[2],
              "-sOutputFile=" +
                  GhostscriptLiteralFileName("C:\\" + arrives + "\\1024.pdf"));
    EXPECT_EQ((*read)[3], "-sstdout=C:\\" + arrives + "\\1024.log");
    EXPECT_EQ((*read)[17], kRunJobFragment);
  }
}

TEST(ResponseFileTest, OutputFileWithSpacesAndPercent) {
  const auto arguments = ResponseFileArguments(
      Defaults(), "C:\\Documents and Settings\\100%\\Temp\\", "");
  EXPECT_EQ(arguments[2],
            "-sOutputFile=\"C:\\Documents and "
            "Settings\\100%%\\Temp\\1024.pdf\"");
  // Read back as Ghostscript reads it: the folder as it was.
  EXPECT_EQ(OutputFileOf(GhostscriptArgumentFileText(arguments)),
            "C:\\Documents and Settings\\100%\\Temp\\1024.pdf");
  EXPECT_EQ(OutputFileOf("-dNOPAUSE\r\n"), std::nullopt);
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
