#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "common/ghostscript_arguments.h"
#include "platform/host/print/ghostscript_command.h"
#include "tests/support/gs_argument_reader.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;

TEST(GhostscriptArgumentFileTest, SplitsAsGhostscriptDoes) {
  using Arguments = std::vector<std::string>;
  const struct {
    const char* label;
    std::string text;
    std::optional<Arguments> arguments;
  } kRows[] = {
      {"lines with empty lines between",
       "-sDEVICE=pdfwrite\r\n\r\n-dBATCH\r\n\r\n",
       Arguments{"-sDEVICE=pdfwrite", "-dBATCH"}},
      {"blanks and tabs split", " a\tb  c", Arguments{"a", "b", "c"}},
      {"comment line", "# note\r\n-dX\r\n", Arguments{"-dX"}},
      {"comment after an argument", "-dBATCH # rest\n-q\n",
       Arguments{"-dBATCH", "-q"}},
      {"hash inside is literal", "-sUserPassword=#abc\n",
       Arguments{"-sUserPassword=#abc"}},
      {"quoted after equals", "-sUserPassword=\"a b\"\r\n",
       Arguments{"-sUserPassword=a b"}},
      {"quoted whole", "\"-sOwnerPassword=a b\"\n",
       Arguments{"-sOwnerPassword=a b"}},
      {"escaped quote outside quotes", "-sUserPassword=a\\\"b\n",
       Arguments{"-sUserPassword=a\"b"}},
      {"escaped quote", "-sUserPassword=\"a\\\"b c\"\n",
       Arguments{"-sUserPassword=a\"b c"}},
      {"other backslashes literal", "-sOutputFile=C:\\Temp\\1024.pdf\r\n",
       Arguments{"-sOutputFile=C:\\Temp\\1024.pdf"}},
      {"backslash line end joins", "-sA=\"a b\\\\\r\n\"\r\n",
       Arguments{"-sA=a b\\"}},
      {"quote not before blank is literal", "-sA=\"x\"y z\"\n",
       Arguments{"-sA=x\"y z"}},
      {"unterminated quote", "-sA=\"a b\r\n", std::nullopt},
      {"closing quote as last byte", "-sA=\"a b\"", std::nullopt},
      {"unquoted space splits", "-sOwnerPassword=own er\n",
       Arguments{"-sOwnerPassword=own", "er"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(SplitGhostscriptArgumentFile(row.text), row.arguments);
    // The test suite's own reading of Ghostscript agrees.
    EXPECT_EQ(testing::ReadGhostscriptArguments(row.text), row.arguments);
  }
}

TEST(GhostscriptArgumentFileTest, ReadsBackWhatTheMonitorWrites) {
  const std::vector<std::string> values = {"plain",  "two words", "a\"b",
                                           "ends\\", "\"q\" x",   "#hash"};
  std::vector<std::string> written;
  for (const std::string& value : values) {
    written.push_back(GhostscriptArgument("-sUserPassword=", value));
  }
  std::optional<std::vector<std::string>> read =
      SplitGhostscriptArgumentFile(GhostscriptArgumentFileText(written));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(values[i]);
    EXPECT_EQ((*read)[i], "-sUserPassword=" + values[i]);
  }
}

class GhostscriptTranslationTest : public ::testing::Test {
 protected:
  GhostscriptTranslationTest() : paths_(box_.path()) {
    for (const char* folder :
         {"drive_c/WINDOWS/system32/lib", "drive_c/Users/User/Temp",
          "drive_c/Temp Folder"}) {
      fs::create_directories(box_ / folder);
    }
  }

  std::string C(const std::string& rest) const {
    return box_ / ("drive_c/" + rest);
  }

  // Translates with `files` (Linux path to text) as the readable files.
  bool Translate(const std::vector<std::string>& arguments,
                 GhostscriptCommand* command, std::string* error) {
    FileReader reader =
        [this](const std::string& path) -> std::optional<std::string> {
      auto found = files_.find(path);
      if (found == files_.end()) return std::nullopt;
      return found->second;
    };
    return TranslateGhostscriptArguments(arguments, paths_, reader, command,
                                         error);
  }

  testing::TempFolder box_;
  BoxPaths paths_;
  std::map<std::string, std::string> files_;
};

TEST_F(GhostscriptTranslationTest, TurnsTheBoxsWindowsPathsIntoLinuxPaths) {
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    std::vector<std::string> translated;
    std::optional<std::string> output_file;
  } kRows[] = {
      {"output file",
       {"-sOutputFile=C:\\Users\\User\\Temp\\1024.pdf"},
       {"-sOutputFile=" + C("Users/User/Temp/1024.pdf")},
       C("Users/User/Temp/1024.pdf")},
      {"output file in any case",
       {"-sOutputFile=c:\\users\\USER\\temp\\1024.pdf"},
       {"-sOutputFile=" + C("Users/User/Temp/1024.pdf")},
       C("Users/User/Temp/1024.pdf")},
      {"output with # for =",
       {"-sOutputFile#C:\\Temp Folder\\a.pdf"},
       {"-sOutputFile#" + C("Temp Folder/a.pdf")},
       C("Temp Folder/a.pdf")},
      {"-o and its file",
       {"-o", "C:\\Temp Folder\\a.pdf"},
       {"-o", C("Temp Folder/a.pdf")},
       C("Temp Folder/a.pdf")},
      {"doubled percent is one literal percent",
       {"-sOutputFile=C:\\Temp Folder\\100%%.pdf"},
       {"-sOutputFile=" + C("Temp Folder/100%%.pdf")},
       C("Temp Folder/100%.pdf")},
      {"page pattern is no single file",
       {"-sOutputFile=C:\\Temp Folder\\p%d.pdf"},
       {"-sOutputFile=" + C("Temp Folder/p%d.pdf")},
       std::nullopt},
      {"a device is kept",
       {"-sOutputFile=%stdout"},
       {"-sOutputFile=%stdout"},
       std::nullopt},
      {"the last output wins",
       {"-sOutputFile=C:\\a.pdf", "-sOutputFile=-"},
       {"-sOutputFile=" + C("a.pdf"), "-sOutputFile=-"},
       std::nullopt},
      {"include list joined by colons",
       {"-IC:\\WINDOWS\\system32\\lib;C:\\WINDOWS\\system32\\fonts"},
       {"-I" + C("WINDOWS/system32/lib") + ":" + C("WINDOWS/system32/fonts")},
       std::nullopt},
      {"include list of a drive the box lacks keeps the rest",
       {"-I", "\\\\server\\lib;C:\\Temp Folder"},
       {"-I", C("Temp Folder")},
       std::nullopt},
      {"a -s path list",
       {"-sFONTPATH=C:\\Temp Folder;Z:\\usr\\share\\fonts"},
       {"-sFONTPATH=" + C("Temp Folder") + ":/usr/share/fonts"},
       std::nullopt},
      {"a -s value that is no path",
       {"-sDEVICE=pdfwrite", "-sOwnerPassword=C:x", "-dEncryptionR#3"},
       {"-sDEVICE=pdfwrite", "-sOwnerPassword=C:x", "-dEncryptionR#3"},
       std::nullopt},
      {"passwords that look like paths stay as they are",
       {"-sUserPassword=C:\\secret", "-sOwnerPassword#\\x;C:\\y"},
       {"-sUserPassword=C:\\secret", "-sOwnerPassword#\\x;C:\\y"},
       std::nullopt},
      {"the log of Ghostscript's messages",
       {"-sstdout=C:\\Temp Folder\\1024.log", "-sstdout=%stderr"},
       {"-sstdout=" + C("Temp Folder/1024.log"), "-sstdout=%stderr"},
       std::nullopt},
      {"file operands; standard input; plain names",
       {"C:\\Temp Folder\\in.ps", "-", "in.ps"},
       {C("Temp Folder/in.ps"), "-", "in.ps"},
       std::nullopt},
      {"PostScript after -c is not a path",
       {"-c", "(a\\b) print", "-f", "C:\\x.ps"},
       {"-c", "(a\\b) print", "-f", C("x.ps")},
       std::nullopt},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    GhostscriptCommand command;
    std::string error;
    ASSERT_TRUE(Translate(row.arguments, &command, &error)) << error;
    EXPECT_EQ(command.arguments, row.translated);
    EXPECT_EQ(command.output_file, row.output_file);
  }
}

TEST_F(GhostscriptTranslationTest, ExpandsArgumentFilesInPlace) {
  files_[C("WINDOWS/system32/plum.rsp")] =
      "\"-sDEVICE=pdfwrite\"\r\n\r\n"
      "-sOutputFile=C:\\Users\\User\\Temp\\1024.pdf\r\n\r\n"
      "@C:\\more.rsp\r\n\r\n"
      "-sOwnerPassword=\"own er\"\r\n\r\n";
  files_[C("more.rsp")] = "-dSAFER -r72\n";
  GhostscriptCommand command;
  std::string error;
  ASSERT_TRUE(
      Translate({"@C:\\WINDOWS\\system32\\plum.rsp", "-"}, &command, &error))
      << error;
  EXPECT_EQ(
      command.arguments,
      (std::vector<std::string>{
          "-sDEVICE=pdfwrite", "-sOutputFile=" + C("Users/User/Temp/1024.pdf"),
          "-dSAFER", "-r72", "-sOwnerPassword=own er", "-"}));
  EXPECT_EQ(command.output_file, C("Users/User/Temp/1024.pdf"));
}

TEST_F(GhostscriptTranslationTest, RefusesWhatItCannotOrMustNotRun) {
  files_[C("open.rsp")] = "-sOwnerPassword=\"never closed\n";
  files_[C("loop.rsp")] = "@C:\\loop.rsp\n";
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    const char* error;
  } kRows[] = {
      {"missing argument file", {"@C:\\none.rsp"}, "none.rsp"},
      {"unterminated quote", {"@C:\\open.rsp"}, "Unterminated quote"},
      {"argument files in a loop", {"@C:\\loop.rsp"}, "nested too deep"},
      {"pipe output", {"-sOutputFile=%pipe%rm -rf /"}, "runs a command"},
      {"pipe output, upper case", {"-sOutputFile=%PIPE%x"}, "runs a command"},
      {"bar output", {"-o", "|sh"}, "runs a command"},
      {"UNC output", {"-sOutputFile=\\\\server\\x.pdf"}, "not a path"},
      {"forbidden character", {"C:\\a<b.ps"}, "not a path"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    GhostscriptCommand command;
    std::string error;
    EXPECT_FALSE(Translate(row.arguments, &command, &error));
    EXPECT_NE(error.find(row.error), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace plumeta::host
