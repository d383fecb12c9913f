// The whole road of a print job on the box: plumsetup installs the printer,
// plumeta watches it, plumprint prints, the test answers plumeta's save
// dialog on its console, and the PDF at the chosen place is checked with
// pdfinfo, pdftotext and qpdf.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/system_names.h"
#include "monitor/conversion_flow.h"
#include "platform/host/print/redirected_port.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/road_box.h"
#include "tests/support/wait_until.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::ProgramResult;
using testing::RoadBox;
using testing::WaitUntil;
using testing::WriteText;

constexpr char kArgumentFile[] = "C:\\WINDOWS\\system32\\plum.rsp";
constexpr char kShow[] = "5";  // SW_SHOW

// plumprint running beside the test until Join.
class Printing {
 public:
  Printing(RoadBox& box, std::vector<std::string> arguments,
           std::string input = "")
      : thread_([this, &box, arguments, input] {
          result_ = box.Print(arguments, input);
        }) {}
  ~Printing() { Join(); }
  const ProgramResult& Join() {
    if (thread_.joinable()) thread_.join();
    return result_;
  }

 private:
  ProgramResult result_;
  std::thread thread_;
};

class RoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_.InstallPrinter();
    fs::create_directories(box_.Linux("C:\\Out"));
    std::string error;
    auto facts = host::LoadSystemFacts(box_.folder(), &error);
    ASSERT_TRUE(facts) << error;
    last_result_ = facts->Environment("TEMP").value_or("") + "\\1024.pdf";
  }

  // Starts plumeta and waits until it has written its argument file, which
  // then names LastResult as the output.
  void StartMonitor() {
    monitor_ = std::make_unique<testing::ConsoleProgram>(
        PLUMETA_PATH, std::vector<std::string>{}, box_.Environment());
    ASSERT_TRUE(ArgumentFileHas("-sOutputFile=" + last_result_))
        << "plumeta did not write its argument file";
  }

  // Waits up to 5 s for the argument file to hold the line `line`.
  bool ArgumentFileHas(const std::string& line) {
    return WaitUntil([&] {
      return testing::ReadText(box_.Linux(kArgumentFile)).find(line + "\r\n") !=
             std::string::npos;
    });
  }

  // Sends `line` and answers the dialog it opens with `answer`.
  void Answer(const std::string& line, const std::string& dialog,
              const std::string& answer) {
    monitor_->Send(line);
    ASSERT_TRUE(monitor_->WaitFor(dialog, seconds(5))) << line;
    monitor_->Send(answer);
  }

  // Waits for the save dialog of a job of `document` and answers it.
  void AcceptSave(const std::string& document, const std::string& target) {
    auto save = monitor_->WaitFor("save", seconds(10));
    ASSERT_TRUE(save) << "no save dialog for " << document;
    EXPECT_EQ((*save)[1], document + ".PDF");
    monitor_->Send(target.empty() ? "cancel" : "ok " + target);
  }

  // Waits until the flow has put the PDF at `target` and taken LastResult
  // away: the file is there, whole, and LastResult is gone.
  bool Delivered(const std::string& target) {
    return WaitUntil([&] {
      return fs::exists(box_.Linux(target)) &&
             !fs::exists(box_.Linux(last_result_)) &&
             testing::PdfPages(box_.Linux(target)) > 0;
    });
  }

  // Opens and closes the tray menu: once its "menu" event is back, every
  // line the monitor wrote before it has been read into `seen`.
  void Settle() {
    monitor_->Send("rclick");
    ASSERT_TRUE(monitor_->WaitFor("menu", seconds(5)));
    monitor_->Send("cancel");
  }

  int ShellOpens(const std::string& file) {
    int count = 0;
    for (const std::string& line : monitor_->seen) {
      auto event = host::SplitEventLine(line);
      if (event.size() == 6 && event[0] == "shell" && event[1] == "open" &&
          event[2] == file && event[5] == kShow) {
        ++count;
      }
    }
    return count;
  }

  std::string Qpdf(const std::string& target, const std::string& password) {
    return testing::ShellOutput("qpdf --password=" + testing::Quoted(password) +
                                " --show-encryption " +
                                testing::Quoted(box_.Linux(target)) + " 2>&1");
  }

  RoadBox box_;
  testing::TempFolder files_;
  std::string last_result_;
  std::unique_ptr<testing::ConsoleProgram> monitor_;
};

TEST_F(RoadTest, APrintedDocumentArrivesAtTheChosenPlaceAndIsShown) {
  StartMonitor();
  WriteText(files_ / "report.ps", testing::SamplePostScript(5));
  Printing printing(box_, {"--document", "Report", files_ / "report.ps"});
  AcceptSave("Report", "C:\\Out\\Report.pdf");
  ASSERT_TRUE(Delivered("C:\\Out\\Report.pdf"));
  EXPECT_EQ(printing.Join().exit_code, 0) << printing.Join().err;

  const std::string pdf = box_.Linux("C:\\Out\\Report.pdf");
  EXPECT_EQ(testing::PdfPages(pdf), 5);
  const std::string text = testing::PdfText(pdf);
  EXPECT_NE(text.find("Plumeta sample page 1 of 5"), std::string::npos);
  EXPECT_NE(text.find("Plumeta sample page 5 of 5"), std::string::npos);
  Settle();
  EXPECT_EQ(ShellOpens("C:\\Out\\Report.pdf"), 1);
  EXPECT_TRUE(box_.Jobs().empty());

  // Unticked, the next PDF arrives without being opened.
  monitor_->Send("click ShowPDFwhendone1");
  Printing again(box_, {"--document", "Again", files_ / "report.ps"});
  AcceptSave("Again", "C:\\Out\\Again.pdf");
  ASSERT_TRUE(Delivered("C:\\Out\\Again.pdf"));
  EXPECT_EQ(again.Join().exit_code, 0);
  Settle();
  EXPECT_EQ(ShellOpens("C:\\Out\\Again.pdf"), 0);
}

TEST_F(RoadTest, ACancelledPdfStaysForTheMenusCommands) {
  StartMonitor();
  Printing printing(box_, {"--document", "Kept", "-"},
                    testing::SamplePostScript(2));
  AcceptSave("Kept", "");
  ASSERT_EQ(printing.Join().exit_code, 0);
  ASSERT_EQ(testing::PdfPages(box_.Linux(last_result_)), 2);

  monitor_->Send("click Viewlastresult1");
  Settle();
  EXPECT_EQ(ShellOpens(last_result_), 1);

  Answer("click SaveLastResult1", "save", "ok C:\\Out\\Kept.pdf");
  ASSERT_TRUE(WaitUntil(
      [&] { return testing::PdfPages(box_.Linux("C:\\Out\\Kept.pdf")) == 2; }));
  Settle();
  // With "Show PDF when done" ticked the command opens the copy; LastResult
  // stays.
  EXPECT_EQ(ShellOpens("C:\\Out\\Kept.pdf"), 1);
  EXPECT_EQ(ShellOpens(last_result_), 1);
  EXPECT_EQ(testing::PdfPages(box_.Linux(last_result_)), 2);
}

struct SettingsRow {
  const char* label;
  // Lines for the monitor; a line followed by "input" waits for that dialog.
  std::vector<std::string> lines;
  std::string argument_line;  // the argument file then has this line
  std::string version;        // pdfinfo's "PDF version"
  std::string owner_password;
  std::string user_password;
  // qpdf --show-encryption, or "File is not encrypted".
  std::vector<std::string> encryption;
};

void PrintTo(const SettingsRow& row, std::ostream* out) { *out << row.label; }

class RoadSettingsTest : public RoadTest,
                         public ::testing::WithParamInterface<SettingsRow> {};

TEST_P(RoadSettingsTest, ReachTheNextJob) {
  const SettingsRow& row = GetParam();
  StartMonitor();
  for (std::size_t i = 0; i < row.lines.size(); ++i) {
    if (i + 1 < row.lines.size() && row.lines[i + 1] == "input") {
      Answer(row.lines[i], "input", row.lines[i + 2]);
      i += 2;
    } else {
      monitor_->Send(row.lines[i]);
    }
  }
  ASSERT_TRUE(ArgumentFileHas(row.argument_line));

  Printing printing(box_, {"--document", "Settings", "-"},
                    testing::SamplePostScript(1));
  AcceptSave("Settings", "C:\\Out\\Settings.pdf");
  ASSERT_TRUE(WaitUntil(
      [&] {
        return fs::exists(box_.Linux("C:\\Out\\Settings.pdf")) &&
               !fs::exists(box_.Linux(last_result_));
      },
      seconds(10)));
  ASSERT_EQ(printing.Join().exit_code, 0) << printing.Join().err;

  const std::string pdf = box_.Linux("C:\\Out\\Settings.pdf");
  const std::string password =
      row.user_password.empty() ? row.owner_password : row.user_password;
  const std::string info = testing::ShellOutput(
      "pdfinfo " +
      (row.user_password.empty()
           ? std::string()
           : "-upw " + testing::Quoted(row.user_password) + " ") +
      testing::Quoted(pdf) + " 2>&1");
  const std::size_t version = info.find("PDF version:");
  ASSERT_NE(version, std::string::npos) << info;
  EXPECT_EQ(info.substr(info.find_first_not_of(' ', version + 12),
                        row.version.size()),
            row.version);
  if (!row.user_password.empty()) {
    // Without the user password the PDF cannot be opened.
    EXPECT_EQ(testing::PdfPages(pdf), -1);
  }
  const std::string encryption = Qpdf("C:\\Out\\Settings.pdf", password);
  for (const std::string& line : row.encryption) {
    EXPECT_NE(encryption.find(line), std::string::npos) << line << "\n"
                                                        << encryption;
  }
  if (!row.owner_password.empty()) {
    // The owner password opens it with every right.
    EXPECT_NE(Qpdf("C:\\Out\\Settings.pdf", row.owner_password)
                  .find("Supplied password is owner password"),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Road, RoadSettingsTest,
    ::testing::Values(
        SettingsRow{"version 1.2",
                    {"click N121"},
                    "-dCompatibilityLevel=1.2",
                    "1.2",
                    "",
                    "",
                    {"File is not encrypted"}},
        SettingsRow{"owner password with a space",
                    {"click OwnerPassword1", "input", "ok own er"},
                    "-dPermissions#-4",
                    "1.4",
                    "own er",
                    "",
                    {"R = 3", "P = -4", "print high resolution: allowed"}},
        SettingsRow{"user and owner password",
                    {"click OwnerPassword1", "input", "ok owner",
                     "click UserPassword1", "input", "ok user secret"},
                    "-dKeyLength#128",
                    "1.4",
                    "owner",
                    "user secret",
                    {"R = 3", "Supplied password is user password"}},
        SettingsRow{"printing withheld",
                    {"click OwnerPassword1", "input", "ok owner",
                     "click Printdocument1"},
                    "-dPermissions#-8",
                    "1.4",
                    "owner",
                    "",
                    {"R = 3", "print low resolution: not allowed",
                     "print high resolution: not allowed",
                     "extract for any purpose: allowed"}},
        SettingsRow{"resolution 72, quality Screen",
                    {"click N721", "click Screen1"},
                    "-dPDFSETTINGS=/screen",
                    "1.3",
                    "",
                    "",
                    {"File is not encrypted"}}),
    [](const ::testing::TestParamInfo<SettingsRow>& info) {
      std::string name;
      for (const char* c = info.param.label; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      }
      return name;
    });

TEST_F(RoadTest, TwoJobsBackToBackEachReachTheirOwnPlace) {
  StartMonitor();
  WriteText(files_ / "first.ps", testing::SamplePostScript(2));
  WriteText(files_ / "second.ps", testing::SamplePostScript(3));
  Printing printing(box_, {files_ / "first.ps", files_ / "second.ps"});
  AcceptSave("first.ps", "C:\\Out\\first.pdf");
  AcceptSave("second.ps", "C:\\Out\\second.pdf");
  ASSERT_TRUE(Delivered("C:\\Out\\second.pdf"));
  EXPECT_EQ(printing.Join().exit_code, 0) << printing.Join().err;
  EXPECT_EQ(testing::PdfPages(box_.Linux("C:\\Out\\first.pdf")), 2);
  EXPECT_EQ(testing::PdfPages(box_.Linux("C:\\Out\\second.pdf")), 3);
  EXPECT_NE(
      testing::PdfText(box_.Linux("C:\\Out\\second.pdf")).find("page 3 of 3"),
      std::string::npos);
}

// A restarted spooler hands ids out again: a job whose id an earlier job had
// is a new job, with its own dialog and PDF.
TEST_F(RoadTest, AJobWithAnIdHandedOutAgainIsANewJob) {
  StartMonitor();
  for (const std::string document : {"First", "Again"}) {
    fs::remove(fs::path(box_.SpoolFolder()) / "LASTJOB");
    Printing printing(box_, {"--document", document, "-"},
                      testing::SamplePostScript(1));
    AcceptSave(document, "C:\\Out\\" + document + ".pdf");
    ASSERT_TRUE(Delivered("C:\\Out\\" + document + ".pdf"));
    EXPECT_EQ(printing.Join().exit_code, 0);
  }
}

// The argument file is never a target: the dialog says why and asks again,
// and the next job still converts with it.
TEST_F(RoadTest, AnsweringWithTheArgumentFileIsRefusedAndAskedAgain) {
  StartMonitor();
  const std::string arguments = testing::ReadText(box_.Linux(kArgumentFile));
  Printing printing(box_, {"--document", "Letter", "-"},
                    testing::SamplePostScript(1));
  AcceptSave("Letter", kArgumentFile);
  auto refusal = monitor_->WaitFor("message", seconds(10));
  ASSERT_TRUE(refusal);
  EXPECT_EQ((*refusal)[2], std::string("The PDF cannot be saved as '") +
                               kArgumentFile +
                               "': Plumeta uses this file itself.\r\nPlease "
                               "choose another name.");
  monitor_->Send("ok");
  auto again = monitor_->WaitFor("save", seconds(5));
  ASSERT_TRUE(again);
  EXPECT_EQ((*again)[1], kArgumentFile);
  monitor_->Send("ok C:\\Out\\Letter.pdf");
  ASSERT_TRUE(Delivered("C:\\Out\\Letter.pdf"));
  EXPECT_EQ(printing.Join().exit_code, 0);
  EXPECT_EQ(testing::ReadText(box_.Linux(kArgumentFile)), arguments);
}

TEST_F(RoadTest, WithThePrinterRemovedPrintingFailsAndTheMonitorStaysQuiet) {
  ProgramResult removal =
      testing::RunProgram(PLUMSETUP_PATH, {"1024"}, box_.Environment());
  ASSERT_EQ(removal.exit_code, 0) << removal.err;
  StartMonitor();
  ProgramResult print = box_.Print({"-"}, testing::SamplePostScript(1));
  EXPECT_EQ(print.exit_code, 2);
  EXPECT_NE(print.err.find("the box has no printer \"Plumeta\""),
            std::string::npos)
      << print.err;
  std::this_thread::sleep_for(milliseconds(600));  // three polls
  Settle();
  for (const std::string& line : monitor_->seen) {
    const std::string keyword = host::SplitEventLine(line)[0];
    EXPECT_TRUE(keyword != "save" && keyword != "message" &&
                keyword != "balloon")
        << line;
  }
}

// Ghostscript closes a well-formed PDF also after an error, and the port
// keeps its exit code to itself: Ghostscript's log tells the monitor, which
// delivers nothing, keeps nothing and gives Ghostscript's error line.
TEST_F(RoadTest, AFailedConversionIsReportedAndNothingIsDelivered) {
  StartMonitor();
  const std::string undefined =
      "Ghostscript: Error: /undefined in nosuchoperator";
  const struct {
    const char* document;
    std::string job;
    int exit_code;  // plumprint's: the port's command failed
    std::string reason;
  } kRows[] = {
      {"Broken", testing::kBrokenPostScript, 1, undefined},
      {"Cut", testing::SamplePostScript(2) + "\nnosuchoperator\n", 1,
       undefined},
      {"Empty", "", 0, "The document has no pages."},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.document);
    const std::string target = std::string("C:\\Out\\") + row.document + ".pdf";
    Printing printing(box_, {"--document", row.document, "-"}, row.job);
    AcceptSave(row.document, target);
    const auto message = monitor_->WaitFor("message", seconds(20));
    ASSERT_TRUE(message);
    EXPECT_EQ((*message)[2], std::string("The PDF for '") + row.document +
                                 "' was not created.\r\n" + row.reason);
    monitor_->Send("ok");
    const ProgramResult& print = printing.Join();
    EXPECT_EQ(print.exit_code, row.exit_code) << print.err;
    EXPECT_TRUE(box_.Jobs().empty());
    EXPECT_FALSE(fs::exists(box_.Linux(target)));
    EXPECT_FALSE(fs::exists(box_.Linux(last_result_)));
    for (const auto& entry : fs::directory_iterator(
             fs::path(box_.Linux(last_result_)).parent_path())) {
      EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
    }
  }
  Settle();
  EXPECT_EQ(ShellOpens("C:\\Out\\Broken.pdf"), 0);
}

// A client killed while the port holds its job leaves the job Printing with
// nothing written. With a give-up time of 3 s set through the box's
// environment, its flow ends with its message and the next job, printed
// behind it, gets its dialog and its PDF.
TEST_F(RoadTest, AJobNobodyConvertsGivesUpAndTheNextJobIsServed) {
  std::string error;
  auto facts = host::LoadSystemFacts(box_.folder(), &error);
  ASSERT_TRUE(facts) << error;
  facts->SetEnvironment(ConversionFlow::kGiveUpVariable, "3");
  WriteText(host::SystemIniPath(box_.folder()), host::WriteSystemIni(*facts));
  box_.SetDword(testing::kPortKey, "Delay", host::kMaxPortDelayMs);
  StartMonitor();
  WriteText(files_ / "killed.ps", testing::SamplePostScript(1));
  testing::BackgroundProgram killed(
      PLUMPRINT_PATH, {"--document", "Killed", files_ / "killed.ps"},
      box_.Environment());
  AcceptSave("Killed", "C:\\Out\\Killed.pdf");
  ASSERT_TRUE(WaitUntil([&] {
    const auto jobs = box_.Jobs();
    return !jobs.empty() && (jobs[0].status & host::kJobStatusPrinting) != 0;
  }));
  ::kill(killed.pid(), SIGKILL);
  ASSERT_TRUE(killed.Ended(5000));
  box_.SetDword(testing::kPortKey, "Delay", 300);

  WriteText(files_ / "next.ps", testing::SamplePostScript(2));
  Printing printing(box_, {"--document", "Next", files_ / "next.ps"});
  const auto message = monitor_->WaitFor("message", seconds(10));
  ASSERT_TRUE(message);
  EXPECT_EQ((*message)[2], "The PDF for 'Killed' was not created.");
  monitor_->Send("ok");
  AcceptSave("Next", "C:\\Out\\Next.pdf");
  ASSERT_TRUE(Delivered("C:\\Out\\Next.pdf"));
  EXPECT_EQ(printing.Join().exit_code, 0) << printing.Join().err;
  EXPECT_EQ(testing::PdfPages(box_.Linux("C:\\Out\\Next.pdf")), 2);
  EXPECT_FALSE(fs::exists(box_.Linux("C:\\Out\\Killed.pdf")));
}

// Three one-page jobs of the same size, the first dialog answered at once
// or after the other two have been converted: each PDF holds its own text.
TEST_F(RoadTest, EqualSizeJobsInABurstEachArriveWithTheirOwnText) {
  StartMonitor();
  std::vector<std::string> files;
  for (int job = 1; job <= 3; ++job) {
    files.push_back(files_ / ("j" + std::to_string(job) + ".ps"));
    WriteText(files.back(),
              "%!PS\n/Helvetica findfont 24 scalefont setfont 72 700 moveto\n"
              "(Job number " +
                  std::to_string(job) + ") show showpage\n");
  }
  for (const int late_ms : {0, 5000}) {
    SCOPED_TRACE(late_ms);
    const std::string out = "C:\\Out\\" + std::to_string(late_ms) + "-";
    Printing printing(box_, files);
    auto save = monitor_->WaitFor("save", seconds(10));
    ASSERT_TRUE(save);
    std::this_thread::sleep_for(milliseconds(late_ms));
    monitor_->Send("ok " + out + "j1.pdf");
    AcceptSave("j2.ps", out + "j2.pdf");
    AcceptSave("j3.ps", out + "j3.pdf");
    EXPECT_EQ(printing.Join().exit_code, 0) << printing.Join().err;
    for (int job = 1; job <= 3; ++job) {
      const std::string pdf = out + "j" + std::to_string(job) + ".pdf";
      ASSERT_TRUE(Delivered(pdf)) << pdf;
      const std::string text = testing::PdfText(box_.Linux(pdf));
      for (int other = 1; other <= 3; ++other) {
        EXPECT_EQ(text.find("Job number " + std::to_string(other)) !=
                      std::string::npos,
                  other == job)
            << pdf << ": " << text;
      }
    }
    Settle();
    for (const std::string& line : monitor_->seen) {
      EXPECT_NE(host::SplitEventLine(line)[0], "message") << line;
    }
  }
}

// Auto-save: the monitor's items as the menu shows them, by name.
class AutoSaveRoadTest : public RoadTest {
 protected:
  std::map<std::string, std::string> MenuMarks() {
    monitor_->seen.clear();
    Settle();
    Settle();  // the first menu's items come before the second's event
    std::map<std::string, std::string> marks;
    for (const std::string& line : monitor_->seen) {
      auto event = host::SplitEventLine(line);
      if (event.size() == 5 && event[0] == "item") marks[event[2]] = event[4];
    }
    return marks;
  }
  bool Saved(const std::string& folder, const std::string& name, int pages) {
    const std::string path = box_.Linux(folder + "\\" + name);
    return WaitUntil([&] { return testing::PdfPages(path) == pages; },
                     seconds(20));
  }
};

TEST_F(AutoSaveRoadTest, TenJobsLandInTheUsersFolderWithNoAnswerTyped) {
  fs::create_directories(box_.Linux("C:\\Out\\Auto"));
  StartMonitor();
  Answer("click SaveAutomatically1", "input", "ok C:\\Out\\Auto\\");
  EXPECT_EQ(MenuMarks()["SaveAutomatically1"], "checked");
  WriteText(files_ / "one.ps", testing::SamplePostScript(1));
  WriteText(files_ / "two.ps", testing::SamplePostScript(2));
  std::vector<std::string> arguments = {"--document", "Daily: report"};
  for (int job = 0; job < 10; ++job) {
    arguments.push_back(files_ / (job % 2 ? "two.ps" : "one.ps"));
  }
  const ProgramResult printed = box_.Print(arguments);
  EXPECT_EQ(printed.exit_code, 0) << printed.err;
  for (int job = 1; job <= 10; ++job) {
    const std::string name =
        job == 1 ? "Daily_ report.pdf"
                 : "Daily_ report (" + std::to_string(job) + ").pdf";
    EXPECT_TRUE(Saved("C:\\Out\\Auto", name, job % 2 ? 1 : 2)) << name;
  }
  Settle();
  for (const std::string& line : monitor_->seen) {
    EXPECT_NE(host::SplitEventLine(line)[0], "save") << line;
  }
  EXPECT_EQ(ShellOpens("C:\\Out\\Auto\\Daily_ report (10).pdf"), 1);
}

TEST_F(AutoSaveRoadTest, TheAdministratorsFolderFromSetupWinsAndLocksTheMenu) {
  fs::create_directories(box_.Linux("C:\\Out\\All"));
  testing::ProgramResult setup = testing::RunProgram(
      PLUMSETUP_PATH,
      {"/autosave", "C:\\Out\\All", "/template", "<User> - <Title>"},
      box_.Environment());
  ASSERT_EQ(setup.exit_code, 0) << setup.err;
  StartMonitor();
  EXPECT_EQ(MenuMarks().count("SaveAutomatically1"), 0u);
  monitor_->Send("click SaveAutomatically1");  // refused: not shown
  WriteText(files_ / "memo.ps", testing::SamplePostScript(3));
  // The owner as the spooler spells it; the monitor serves only its own
  // user's jobs, whose name it compares without regard to case.
  const ProgramResult printed =
      box_.Print({"--document", "Memo", "--user", "user", files_ / "memo.ps"});
  EXPECT_EQ(printed.exit_code, 0) << printed.err;
  EXPECT_TRUE(Saved("C:\\Out\\All", "user - Memo.pdf", 3));

  // The removal takes the administrator's values with the printer.
  testing::ProgramResult removal =
      testing::RunProgram(PLUMSETUP_PATH, {"1024"}, box_.Environment());
  EXPECT_EQ(removal.exit_code, 0) << removal.err;
  std::unique_ptr<platform::RegistryKey> key;
  platform::RegistryValue value;
  ASSERT_EQ(box_.registry().OpenKey(platform::RootKey::kLocalMachine,
                                    kSettingsKey, false, &key),
            platform::kSuccess);
  EXPECT_EQ(key->ReadValue(kAutoSaveFolderValue, &value),
            platform::kErrorFileNotFound);
}

}  // namespace
}  // namespace plumeta

namespace plumeta {
namespace {

// "Combine Jobs": three documents collected, the monitor restarted in
// between, then "Save Combined PDF..." merges them in-process into one
// encrypted PDF whose pages are theirs in order.
TEST_F(RoadTest, ThreeCombinedDocumentsBecomeOneEncryptedPdf) {
  StartMonitor();
  Answer("click OwnerPassword1", "input", "ok owner");
  monitor_->Send("click CombineJobs1");
  // The collected PDFs carry no password; the merge applies them.
  ASSERT_TRUE(ArgumentFileHas("-dWriteObjStms=false"));
  EXPECT_EQ(testing::ReadText(box_.Linux(kArgumentFile)).find("Password"),
            std::string::npos);
  const auto added = [&](const std::string& text) {
    for (;;) {
      auto balloon = monitor_->WaitFor("balloon", seconds(20));
      if (!balloon) return false;
      if (balloon->size() > 8 && (*balloon)[8].find(text) != std::string::npos)
        return true;
    }
  };
  const char* kDocuments[] = {"Web page", "Mail", "Attachment"};
  for (int pages = 1; pages <= 3; ++pages) {
    if (pages == 3) {
      // An Exit in between loses nothing.
      monitor_.reset();
      StartMonitor();
      ASSERT_TRUE(added("2 documents wait to be combined into one PDF"));
      monitor_->Send("click CombineJobs1");
      ASSERT_TRUE(ArgumentFileHas("-dWriteObjStms=false"));
    }
    ASSERT_EQ(box_.Print({"--document", kDocuments[pages - 1], "-"},
                         testing::SamplePostScript(pages))
                  .exit_code,
              0);
    ASSERT_TRUE(added("'" + std::string(kDocuments[pages - 1]) +
                      "' was added to the combined PDF (" +
                      std::to_string(pages) + " document" +
                      (pages == 1 ? "" : "s") + ", " +
                      std::to_string(pages * (pages + 1) / 2) + " page" +
                      (pages == 1 ? "" : "s") + ")"));
  }
  // The settings in force when the merge starts are the ones it applies.
  Answer("click OwnerPassword1", "input", "ok owner");
  Answer("click UserPassword1", "input", "ok user secret");
  monitor_->Send("click SaveCombinedPDF1");
  AcceptSave("Web page", "C:\\Out\\All.pdf");
  const std::string pdf = box_.Linux("C:\\Out\\All.pdf");
  ASSERT_TRUE(WaitUntil([&] { return testing::PdfPages(pdf, "owner") == 6; },
                        seconds(30)));
  const std::string text = testing::PdfText(pdf, "owner");
  std::size_t at = 0;
  for (const char* page : {"page 1 of 1", "page 1 of 2", "page 2 of 2",
                           "page 1 of 3", "page 2 of 3", "page 3 of 3"}) {
    at = text.find(page, at);
    ASSERT_NE(at, std::string::npos) << page << " in order in\n" << text;
  }
  EXPECT_EQ(testing::PdfPages(pdf), -1);  // not without the password
  EXPECT_NE(Qpdf("C:\\Out\\All.pdf", "owner")
                .find("Supplied password is owner password"),
            std::string::npos);
  EXPECT_NE(Qpdf("C:\\Out\\All.pdf", "user secret")
                .find("Supplied password is user password"),
            std::string::npos);
  // Delivered: the collection is empty, its item disabled again.
  EXPECT_TRUE(WaitUntil([&] {
    return fs::is_empty(
        box_.Linux(last_result_.substr(0, last_result_.rfind('\\')) +
                   "\\Plumeta Combined"));
  }));
}

}  // namespace
}  // namespace plumeta
