#include "common/ghostscript_arguments.h"

#include <gtest/gtest.h>

#include "tests/support/gs_argument_reader.h"

namespace plumeta {
namespace {

using testing::ReadGhostscriptArguments;

// What Ghostscript reads from a file with `argument` between two others.
std::optional<std::vector<std::string>> ReadBetweenNeighbours(
    const std::string& argument) {
  return ReadGhostscriptArguments(
      GhostscriptArgumentFileText({"-sDEVICE=pdfwrite", argument, "-dBATCH"}));
}

TEST(GhostscriptArgumentTest, EveryValueArrivesAsExactlyOneArgument) {
  const struct {
    const char* label;
    std::string value;
    std::string arrives;
  } kRows[] = {
      {"plain", "secret", "secret"},
      {"space", "two words", "two words"},
      {"leading space", " x", " x"},
      {"quote inside", "a\"b", "a\"b"},
      {"quoted", "\"q\"", "\"q\""},
      {"quote then space", "a\" b", "a\" b"},
      {"lone quote", "\"", "\""},
      {"backslash inside", "back\\slash", "back\\slash"},
      {"backslash before quote", "a\\\"b", "a\\\"b"},
      {"trailing backslash", "ab\\", "ab\\"},
      {"two trailing backslashes", "a b\\\\", "a b\\\\"},
      {"lone backslash", "\\", "\\"},
      {"hash", "#x", "#x"},
      {"empty", "", ""},
      {"CR LF", "line\r\nbreak", "linebreak"},
      {"TAB", "tab\there", "tabhere"},
      {"NUL", std::string("nul\0x", 5), "nulx"},
      {"vertical tab and form feed", "a\vb\fc", "abc"},
      {"added option", " -dNOSAFER", " -dNOSAFER"},
      {"pipe", "x -sOutputFile=%pipe%calc", "x -sOutputFile=%pipe%calc"},
      {"pipe on a new line", "x\r\n-sOutputFile=%pipe%calc",
       "x-sOutputFile=%pipe%calc"},
      {"option on a new line", "x\n-dNOSAFER", "x-dNOSAFER"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    const std::string argument =
        GhostscriptArgument("-sUserPassword=", row.value);
    const auto read = ReadBetweenNeighbours(argument);
    ASSERT_TRUE(read.has_value()) << argument;
    EXPECT_EQ(*read, (std::vector<std::string>{"-sDEVICE=pdfwrite",
                                               "-sUserPassword=" + row.arrives,
                                               "-dBATCH"}))
        << argument;
  }
}

TEST(GhostscriptArgumentTest, ValuesThatNeedNoQuotesStandAsTheyAre) {
  for (const char* value : {"1.3", "/default", "C:\\Temp\\1024.pdf", "a=b#c"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(GhostscriptArgument("-sX=", value), std::string("-sX=") + value);
  }
  EXPECT_EQ(GhostscriptArgument("-sX=", "a b"), "-sX=\"a b\"");
  EXPECT_EQ(GhostscriptArgument("-sX=", "a\"b"), "-sX=\"a\\\"b\"");
  EXPECT_EQ(GhostscriptArgument("-sX=", "ab\\"), "-sX=\"ab\\\\\r\n\"");
}

TEST(GhostscriptLiteralFileNameTest, DoublesEveryPercent) {
  EXPECT_EQ(GhostscriptLiteralFileName("C:\\100%\\Temp\\1024.pdf"),
            "C:\\100%%\\Temp\\1024.pdf");
  EXPECT_EQ(GhostscriptLiteralFileName("%pipe%calc"), "%%pipe%%calc");
  EXPECT_EQ(GhostscriptLiteralFileName("C:\\Temp\\1024.pdf"),
            "C:\\Temp\\1024.pdf");
}

TEST(GhostscriptArgumentFileTextTest, EachArgumentThenAnEmptyLine) {
  EXPECT_EQ(GhostscriptArgumentFileText({"-a", "-b"}), "-a\r\n\r\n-b\r\n\r\n");
  EXPECT_EQ(GhostscriptArgumentFileText({}), "");
}

}  // namespace
}  // namespace plumeta
