// plumprint on a box with the printer installed by plumsetup: jobs queued,
// handed to the "Redirected Port" stand-in, which runs the port's command
// (the box's Ghostscript console program, or a script standing in for it)
// with the job's data, and leave the queue whatever happens.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/ghostscript_arguments.h"
#include "tests/host/support/road_box.h"
#include "tests/support/wait_until.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using testing::kPortKey;
using testing::ProgramResult;
using testing::ReadText;
using testing::RoadBox;
using testing::WaitUntil;
using testing::WriteText;

constexpr char kOutput[] = "C:\\Jobs\\out.pdf";

// A box with the printer installed and an argument file that makes a PDF
// at kOutput; the port starts its command without delay.
class PlumprintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_.InstallPrinter();
    fs::create_directories(box_.Linux("C:\\Jobs"));
    WriteText(box_.Linux("C:\\WINDOWS\\system32\\plum.rsp"),
              GhostscriptArgumentFileText(
                  {"-sDEVICE=pdfwrite", std::string("-sOutputFile=") + kOutput,
                   "-dNOPAUSE", "-dSAFER", "-dBATCH"}));
    box_.SetDword(kPortKey, "Delay", 0);
  }

  // A box program for the port's command: a shell script that records its
  // arguments, box and input in C:\Jobs, then waits up to 5 s for
  // C:\Jobs\release (when `wait`) and exits with `code`.
  void UseScriptAsCommand(const std::string& arguments, bool wait,
                          int code = 0) {
    const std::string jobs = box_.Linux("C:\\Jobs");
    WriteText(box_.Linux("C:\\Tools\\port.exe"),
              "#!/bin/sh\n"
              "echo $$ > '" +
                  jobs +
                  "/pid'\n"
                  "for a in \"$@\"; do echo \"[$a]\"; done > '" +
                  jobs +
                  "/arguments'\n"
                  "echo \"$PLUMETA_BOX\" > '" +
                  jobs +
                  "/box'\n"
                  "echo start >> '" +
                  jobs +
                  "/log'\n"
                  "cat > '" +
                  jobs + "/input'\n" +
                  (wait ? "i=0; while [ ! -e '" + jobs +
                              "/release' ] && [ $i -lt 250 ]; do "
                              "sleep 0.02; i=$((i+1)); done\n"
                        : "") +
                  "echo end >> '" + jobs +
                  "/log'\n"
                  "echo 'the command says why' >&2\n"
                  "exit " +
                  std::to_string(code) + "\n");
    fs::permissions(box_.Linux("C:\\Tools\\port.exe"), fs::perms::owner_all);
    box_.SetString(kPortKey, "Command", "C:\\Tools\\port.exe");
    box_.SetString(kPortKey, "Arguments", arguments);
  }

  std::string Jobs(const std::string& name) {
    return box_.Linux("C:\\Jobs") + "/" + name;
  }

  testing::TempFolder files_;
  RoadBox box_;
};

TEST_F(PlumprintTest, MakesThePdfThroughTheBoxsGhostscript) {
  WriteText(files_ / "three.ps", testing::SamplePostScript(3));
  ProgramResult print = box_.Print({files_ / "three.ps"});
  ASSERT_EQ(print.exit_code, 0) << print.err;
  EXPECT_NE(print.out.find("printed on Plumeta through PLUM:"),
            std::string::npos)
      << print.out;
  EXPECT_EQ(testing::PdfPages(box_.Linux(kOutput)), 3);
  EXPECT_NE(
      testing::PdfText(box_.Linux(kOutput)).find("Plumeta sample page 2 of 3"),
      std::string::npos);
  EXPECT_EQ(box_.SpoolFiles(), 0);
}

TEST_F(PlumprintTest, TheJobIsPrintingWhileTheCommandRuns) {
  UseScriptAsCommand("\"@C:\\My Files\\x.rsp\" a\\\"b -", /*wait=*/true);
  const std::string data = testing::SamplePostScript(2);
  WriteText(files_ / "two.ps", data);
  ProgramResult print;
  std::thread printing([&] {
    print = box_.Print({"--document", "Quarterly report.doc", "--user", "Alice",
                        files_ / "two.ps"});
  });
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(Jobs("input")); }));
  std::vector<platform::PrintJob> jobs = box_.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].status, 0x10u);  // JOB_STATUS_PRINTING
  EXPECT_EQ(jobs[0].printer_name, "Plumeta");
  EXPECT_EQ(jobs[0].document, "Quarterly report.doc");
  EXPECT_EQ(jobs[0].user_name, "Alice");
  EXPECT_EQ(jobs[0].machine_name, "\\\\PLUMBOX");
  EXPECT_EQ(jobs[0].driver_name, "Plumeta");
  EXPECT_EQ(jobs[0].total_pages, 2u);
  EXPECT_EQ(jobs[0].size, data.size());
  WriteText(Jobs("release"), "");
  printing.join();

  EXPECT_EQ(print.exit_code, 0) << print.err;
  EXPECT_EQ(ReadText(Jobs("arguments")),
            "[@C:\\My Files\\x.rsp]\n[a\"b]\n[-]\n");
  EXPECT_EQ(ReadText(Jobs("input")), data);
  EXPECT_EQ(ReadText(Jobs("box")), box_.folder() + "\n");
  EXPECT_TRUE(box_.Jobs().empty());
}

TEST_F(PlumprintTest, JobsTakeTurnsOnThePort) {
  UseScriptAsCommand("-", /*wait=*/true);
  WriteText(files_ / "one.ps", testing::SamplePostScript(1));
  ProgramResult first;
  ProgramResult second;
  std::thread one([&] { first = box_.Print({files_ / "one.ps"}); });
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(Jobs("input")); }));
  std::thread two([&] { second = box_.Print({files_ / "one.ps"}); });
  // The second job waits in the queue, spooled, until the port is free.
  ASSERT_TRUE(WaitUntil([&] { return box_.Jobs().size() == 2; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::vector<platform::PrintJob> jobs = box_.Jobs();
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].status, 0x10u);
  EXPECT_EQ(jobs[1].status, 0x08u);  // JOB_STATUS_SPOOLING
  WriteText(Jobs("release"), "");
  one.join();
  two.join();
  EXPECT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(second.exit_code, 0) << second.err;
  EXPECT_EQ(ReadText(Jobs("log")), "start\nend\nstart\nend\n");
  EXPECT_EQ(box_.SpoolFiles(), 0);
}

TEST_F(PlumprintTest, AStoppedPrintStopsTheCommandAndRemovesTheJob) {
  UseScriptAsCommand("-", /*wait=*/true);
  WriteText(files_ / "one.ps", testing::SamplePostScript(1));
  testing::BackgroundProgram print(PLUMPRINT_PATH, {files_ / "one.ps"},
                                   box_.Environment());
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(Jobs("input")); }));
  const pid_t command = std::stoi(ReadText(Jobs("pid")));
  ::kill(print.pid(), SIGTERM);
  EXPECT_TRUE(print.Ended(5000));
  EXPECT_TRUE(WaitUntil([&] { return ::kill(command, 0) != 0; }));
  EXPECT_EQ(box_.SpoolFiles(), 0);
}

TEST(PlumprintFailureTest, APortThatCannotPrintLeavesALineAndNoJob) {
  const struct {
    const char* label;
    std::function<void(RoadBox&)> change;
    std::string input;
    const char* says;
  } kRows[] = {
      {"no port key",
       [](RoadBox& box) {
         box.registry().DeleteKeyTree(platform::RootKey::kLocalMachine,
                                      kPortKey);
       },
       testing::SamplePostScript(1), "no port monitor of the box has the port"},
      {"no command",
       [](RoadBox& box) { box.SetString(kPortKey, "Command", ""); },
       testing::SamplePostScript(1), "names no \"Command\""},
      {"command not in the box",
       [](RoadBox& box) {
         box.SetString(kPortKey, "Command", "C:\\nowhere\\gswin32c.exe");
       },
       testing::SamplePostScript(1), "C:\\nowhere\\gswin32c.exe is not in"},
      {"command fails",
       [](RoadBox& box) {
         fs::create_directories(box.Linux("C:\\Jobs"));
         WriteText(box.Linux("C:\\WINDOWS\\system32\\plum.rsp"),
                   GhostscriptArgumentFileText(
                       {"-sDEVICE=pdfwrite", "-sOutputFile=C:\\Jobs\\out.pdf",
                        "-dNOPAUSE", "-dSAFER", "-dBATCH"}));
       },
       testing::kBrokenPostScript, "failed with exit code 1"},
      {"port of another monitor",
       [](RoadBox& box) {
         box.SetString(
             "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Plumeta",
             "Port", "LPT1:");
         box.SetString(
             "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors"
             "\\Local Port\\Ports\\LPT1:",
             "Timeout", "");
       },
       testing::SamplePostScript(1), "belongs to the \"Local Port\" monitor"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    RoadBox box;
    box.InstallPrinter();
    box.SetDword(kPortKey, "Delay", 0);
    row.change(box);
    ProgramResult print = box.Print({"-"}, row.input);
    EXPECT_EQ(print.exit_code, 1);
    EXPECT_NE(print.err.find("plumprint: job 1 (stdin) on Plumeta failed: "),
              std::string::npos)
        << print.err;
    EXPECT_NE(print.err.find(row.says), std::string::npos) << print.err;
    EXPECT_EQ(box.SpoolFiles(), 0);
  }
}

TEST(PlumprintArgumentsTest, RefusesWhatItCannotPrintBeforeQueueingAnything) {
  RoadBox box;
  box.InstallPrinter();
  testing::TempFolder files;
  WriteText(files / "one.ps", testing::SamplePostScript(1));
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> environment;
    std::string says;
  } kRows[] = {
      {"no such printer",
       {"--printer", "Nope", files / "one.ps"},
       {},
       "the box has no printer \"Nope\""},
      {"missing file",
       {files / "one.ps", files / "missing.ps"},
       {},
       "cannot read " + files / "missing.ps"},
      {"a folder", {files.path()}, {}, "cannot read"},
      {"no file", {}, {}, "name a PostScript file"},
      {"unknown option", {"--colour", files / "one.ps"}, {}, "unknown option"},
      {"option without value",
       {files / "one.ps", "--user"},
       {},
       "needs a value"},
      {"no box",
       {files / "one.ps"},
       {{host::kBoxVariable, files / "nobox"}},
       "system.ini"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    std::map<std::string, std::string> environment = box.Environment();
    for (const auto& [name, value] : row.environment) environment[name] = value;
    ProgramResult print =
        testing::RunProgram(PLUMPRINT_PATH, row.arguments, environment);
    EXPECT_EQ(print.exit_code, 2);
    EXPECT_NE(print.err.find(row.says), std::string::npos) << print.err;
    EXPECT_EQ(box.SpoolFiles(), 0);
  }
}

TEST(PlumprintArgumentsTest, APrinterNameInAnyCaseIsThatPrinter) {
  RoadBox box;
  box.InstallPrinter();
  box.SetDword(kPortKey, "Delay", 0);
  fs::create_directories(box.Linux("C:\\Jobs"));
  WriteText(box.Linux("C:\\WINDOWS\\system32\\plum.rsp"),
            GhostscriptArgumentFileText({"-sDEVICE=pdfwrite",
                                         "-sOutputFile=C:\\Jobs\\out.pdf",
                                         "-dBATCH", "-dNOPAUSE"}));
  ProgramResult print =
      box.Print({"--printer=PLUMETA", "-"}, testing::SamplePostScript(1));
  EXPECT_EQ(print.exit_code, 0) << print.err;
  EXPECT_EQ(testing::PdfPages(box.Linux("C:\\Jobs\\out.pdf")), 1);
}

}  // namespace
}  // namespace plumeta
