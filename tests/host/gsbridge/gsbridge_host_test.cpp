// libgsbridge.so with the real Ghostscript library: PostScript fed through
// the input callback comes out as a PDF, and Ghostscript's own error text
// reaches the output callback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gsbridge/gsbridge.h"
#include "tests/host/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace plumeta::gsbridge {
namespace {

constexpr char kGhostscriptLibrary[] = "libgs.so.10";

constexpr char kTwoPageJob[] =
    "%!PS\n"
    "/Helvetica findfont 24 scalefont setfont\n"
    "72 700 moveto (First page) show\n"
    "newpath 72 72 moveto 200 200 lineto 5 setlinewidth stroke\n"
    "showpage\n"
    "72 700 moveto (Second page) show\n"
    "0.2 0.4 0.8 setrgbcolor 100 100 150 150 rectfill\n"
    "showpage\n";

constexpr char kBrokenJob[] =
    "%!PS\n"
    "/Helvetica findfont 24 scalefont setfont\n"
    "72 700 moveto (Half a page) show\n"
    "plumeta_no_such_operator\n"
    "showpage\n";

// What the host callbacks see. Input is handed out in small pieces so that
// Ghostscript asks more than once.
struct HostSide {
  std::string input;
  std::size_t input_position = 0;
  std::string output;
  std::vector<std::string> messages;
};
HostSide host;

int GSBRIDGE_CALL FeedJob(char* buffer, int length) {
  const std::size_t count =
      std::min<std::size_t>({static_cast<std::size_t>(length), 1000,
                             host.input.size() - host.input_position});
  std::memcpy(buffer, host.input.data() + host.input_position, count);
  host.input_position += count;
  return static_cast<int>(count);
}

void GSBRIDGE_CALL CollectOutput(const char* text, int length) {
  if (length == 0) {
    host.messages.emplace_back(text);
  } else {
    host.output.append(text, length);
  }
}

class GsbridgeHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    host = HostSide();
    InstallCallBacks(FeedJob, CollectOutput, nullptr);
  }

  int Convert(const std::string& job, std::vector<std::string> args) {
    host.input = job;
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return CallGS(kGhostscriptLibrary, static_cast<int>(args.size()),
                  argv.data());
  }

  std::string Pdf() const { return folder_ / "out.pdf"; }

  testing::TempFolder folder_;
};

TEST_F(GsbridgeHostTest, ConvertsAJobFromTheInputCallbackIntoAPdf) {
  struct Row {
    const char* name;
    bool job_as_dash_argument;  // else the start procedure reads it
  };
  for (const Row& row : {Row{"job read through '-'", true},
                         Row{"job read by the start procedure", false}}) {
    SCOPED_TRACE(row.name);
    host = HostSide();
    std::vector<std::string> args = {"gs",
                                     "-q",
                                     "-dNOPAUSE",
                                     "-dSAFER",
                                     "-sDEVICE=pdfwrite",
                                     "-sOutputFile=" + Pdf()};
    if (row.job_as_dash_argument) args.insert(args.end(), {"-dBATCH", "-"});

    EXPECT_EQ(Convert(kTwoPageJob, args), 1);
    EXPECT_EQ(host.input_position, host.input.size());
    EXPECT_TRUE(host.messages.empty());

    int exit_code = -1;
    const std::string check =
        testing::ShellOutput("qpdf --check '" + Pdf() + "' 2>&1", &exit_code);
    EXPECT_EQ(exit_code, 0) << check;
    const std::string info =
        testing::ShellOutput("pdfinfo '" + Pdf() + "' 2>&1", &exit_code);
    ASSERT_EQ(exit_code, 0) << info;
    EXPECT_NE(info.find("\nPages:           2\n"), std::string::npos) << info;
    std::filesystem::remove(Pdf());
  }
}

TEST_F(GsbridgeHostTest, GhostscriptsErrorTextReachesTheOutputCallback) {
  const int result =
      Convert(kBrokenJob, {"gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER",
                           "-sDEVICE=pdfwrite", "-sOutputFile=" + Pdf(), "-"});

  EXPECT_EQ(result, 0);
  EXPECT_NE(host.output.find("Error: /undefined in plumeta_no_such_operator"),
            std::string::npos)
      << host.output;
  EXPECT_NE(host.output.find("Unrecoverable error"), std::string::npos)
      << host.output;
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GsbridgeHostTest, AnArgumentGhostscriptRejectsGivesZero) {
  const int result = Convert(
      kTwoPageJob, {"gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                    "-dPDFSETTINGS=/bogus", "-sOutputFile=" + Pdf(), "-"});
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(host.output.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GsbridgeHostTest, AnEmptyLibraryNameLoadsNothing) {
  std::vector<char*> argv = {const_cast<char*>("gs")};
  EXPECT_EQ(CallGS("", 1, argv.data()), 0);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Could not load GhostScript!"});
}

}  // namespace
}  // namespace plumeta::gsbridge
