// The box's Ghostscript console program (gswin32c.exe, put there by
// plumbox init) with the host's real Ghostscript: argument files and box
// paths, the output file held in use while Ghostscript writes it, and
// Ghostscript's exit code passed on.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/ghostscript_arguments.h"
#include "platform/host/box/box_process.h"
#include "platform/host/kernel/files.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/road_box.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using testing::ProgramResult;
using testing::RoadBox;
using testing::WriteText;

constexpr char kGhostscript[] = "C:\\WINDOWS\\system32\\gswin32c.exe";
constexpr char kArgumentFile[] = "C:\\WINDOWS\\system32\\plum.rsp";
constexpr char kOutput[] = "C:\\Users\\User\\My Documents\\1024.pdf";

class GhostscriptStandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(box_.Linux("C:\\Users\\User\\My Documents"));
  }

  void WriteArgumentFile(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> arguments = {
        "-sDEVICE=pdfwrite",
        GhostscriptArgument("-sOutputFile=",
                            GhostscriptLiteralFileName(kOutput)),
        "-dNOPAUSE", "-dSAFER", "-dBATCH"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    WriteText(box_.Linux(kArgumentFile),
              GhostscriptArgumentFileText(arguments));
  }

  ProgramResult Run(const std::vector<std::string>& arguments,
                    const std::string& input) {
    // Run from outside the box: the program finds its box by its own place.
    return testing::RunProgram(box_.Linux(kGhostscript), arguments, {}, input);
  }

  RoadBox box_;
};

TEST_F(GhostscriptStandInTest, HoldsTheOutputInUseUntilGhostscriptHasEnded) {
  WriteArgumentFile();
  std::string error;
  host::HostFiles files(host::BoxProcess::Open(box_.folder(), &error));
  testing::ConsoleProgram gs(box_.Linux(kGhostscript),
                             {std::string("@") + kArgumentFile, "-"}, {});
  const std::string document = testing::SamplePostScript(4);
  const std::size_t half = document.find("%%Page: 3 3");
  gs.Send(document.substr(0, half));
  // Ghostscript is writing, waiting for the rest of the job.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(files.Exists(kOutput));
  EXPECT_TRUE(files.InUse(kOutput));
  EXPECT_EQ(files.Delete(kOutput), platform::kErrorSharingViolation);

  gs.Send(document.substr(half));
  gs.CloseInput();
  ASSERT_EQ(gs.WaitForExit(std::chrono::seconds(10)), 0);
  EXPECT_FALSE(files.InUse(kOutput));
  EXPECT_EQ(testing::PdfPages(box_.Linux(kOutput)), 4);
}

TEST_F(GhostscriptStandInTest, PassesGhostscriptsEndOn) {
  const std::string marker = box_.Linux("C:\\marker");
  const std::string file = std::string("@") + kArgumentFile;
  const struct {
    const char* label;
    std::vector<std::string> extra;  // after the argument file's lines
    std::vector<std::string> arguments;
    std::string input;
    int exit_code;
    bool output_left;
    std::string says;
  } kRows[] = {
      {"a good job",
       {},
       {file, "-"},
       testing::SamplePostScript(1),
       0,
       true,
       ""},
      {"a PostScript error",
       {},
       {file, "-"},
       testing::kBrokenPostScript,
       1,
       true,
       "Error: /undefined in nosuchoperator"},
      {"a device Ghostscript lacks",
       {"-sDEVICE=nosuchdevice"},
       {file, "-"},
       testing::SamplePostScript(1),
       1,
       false,
       "nosuchdevice"},
      {"encryption without an owner password",
       {"-sUserPassword=secret"},
       {file, "-"},
       testing::SamplePostScript(1),
       1,
       true,
       "Owner password"},
      {"a missing argument file",
       {},
       {"@C:\\WINDOWS\\none.rsp", "-"},
       "",
       1,
       false,
       "cannot open the argument file C:\\WINDOWS\\none.rsp"},
      {"an output that runs a command",
       {},
       {file, "-sOutputFile=%pipe%touch " + marker, "-"},
       testing::SamplePostScript(1),
       1,
       false,
       "runs a command"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    fs::remove(box_.Linux(kOutput));
    WriteArgumentFile(row.extra);
    ProgramResult gs = Run(row.arguments, row.input);
    EXPECT_EQ(gs.exit_code, row.exit_code) << gs.out << gs.err;
    EXPECT_EQ(fs::exists(box_.Linux(kOutput)), row.output_left);
    EXPECT_NE((gs.out + gs.err).find(row.says), std::string::npos)
        << gs.out << gs.err;
    EXPECT_FALSE(fs::exists(marker));
  }
}

}  // namespace
}  // namespace plumeta
