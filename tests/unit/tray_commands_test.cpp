// The tray menu's commands, the printer enumeration and the job poll on
// fakes.
#include "monitor/tray_commands.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "monitor/job_poll.h"
#include "tests/unit/support/fake_monitor_view.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

constexpr char kLastResult[] = "C:\\Temp\\1024.pdf";

platform::PrinterInfo2 Printer(const std::string& name,
                               const std::string& port) {
  platform::PrinterInfo2 info;
  info.printer_name = name;
  info.port_name = port;
  info.attributes = platform::kPrinterAttributeLocal;
  return info;
}

class TrayCommandsTest : public ::testing::Test {
 protected:
  TrayCommandsTest() {
    bed.spooler->printers.push_back({Printer("Office", "LPT1:"), {}});
    bed.spooler->printers.push_back({Printer("Plumeta", "PLUM:"), {}});
    bed.spooler->log = &log;
    bed.shell->log = &log;
    view.last_result = kLastResult;
    view.os_name = "stale";
    commands =
        std::make_unique<TrayCommands>(bed.platform, save_dialog, view, flow);
  }

  std::vector<std::string> ShellCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : log.calls()) {
      if (call.rfind("shell ", 0) == 0) calls.push_back(call);
    }
    return calls;
  }

  testing::MonitorTestBed bed;
  testing::CallLog log;
  TSaveDialog save_dialog{*bed.dialogs};
  testing::FakeMonitorView view;
  LastResultWatch last_result{*bed.files, kLastResult};
  ConversionFlow flow{bed.platform, view, view, save_dialog, last_result};
  std::unique_ptr<TrayCommands> commands;
};

TEST_F(TrayCommandsTest, ShellCommandsOpenExactlyTheirFiles) {
  const struct {
    const char* name;
    void (TrayCommands::*command)();
    const char* call;
  } kRows[] = {
      {"View Last Result", &TrayCommands::ViewLastResult,
       "shell execute open|C:\\Temp\\1024.pdf|||5"},
      {"Printing Preferences", &TrayCommands::OpenPrintingPreferences,
       "shell execute open|rundll32.exe|PrintUI.dll, PrintUIEntry /e /n "
       "\"Plumeta\"||5"},
      {"Help", &TrayCommands::OpenHelp,
       "shell execute open|C:\\Program Files\\Plumeta\\manual.chm|||5"},
      {"support picture", &TrayCommands::MailSupport,
       "shell execute open|mailto:support@plumeta.example|||5"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    log.Clear();
    ((*commands).*row.command)();
    EXPECT_EQ(ShellCalls(), std::vector<std::string>{row.call});
  }
}

TEST_F(TrayCommandsTest, SaveLastResultAsNeedsLastResultAndKeepsIt) {
  const char kChosen[] = "C:\\Users\\me\\old.pdf";
  const struct {
    const char* name;
    bool last_result_exists;
    bool accepted;
    bool ticked;
    bool dialog_shown;
    const char* chosen_content;  // after the command
    bool opens_copy;
  } kRows[] = {
      {"no LastResult", false, true, true, false, "old", false},
      {"cancelled", true, false, true, true, "old", false},
      {"accepted, ticked", true, true, true, true, "%PDF last", true},
      {"accepted, not ticked", true, true, false, true, "%PDF last", false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    bed.dialogs->saves.clear();
    bed.shell->executed.clear();
    bed.files->files.clear();
    bed.files->files[kChosen] = "old";
    if (row.last_result_exists) bed.files->files[kLastResult] = "%PDF last";
    save_dialog.set_file_name("Letter.PDF");
    view.show_pdf_when_done = row.ticked;
    bed.dialogs->save_answers = {
        row.accepted ? std::optional<std::string>(kChosen) : std::nullopt};
    commands->SaveLastResultAs();
    ASSERT_EQ(bed.dialogs->saves.size(), row.dialog_shown ? 1u : 0u);
    if (row.dialog_shown) {
      EXPECT_EQ(bed.dialogs->saves[0].file_name, "Letter.PDF");
    }
    EXPECT_EQ(bed.files->files[kChosen], row.chosen_content);
    EXPECT_EQ(bed.files->Exists(kLastResult), row.last_result_exists);
    EXPECT_EQ(bed.shell->executed.size(), row.opens_copy ? 1u : 0u);
    if (row.opens_copy) {
      EXPECT_EQ(bed.shell->executed[0].file, kChosen);
    }
    bed.dialogs->save_answers.clear();
  }
  // An accepted dialog leaves the chosen path for the next use.
  EXPECT_EQ(save_dialog.file_name(), kChosen);
}

TEST_F(TrayCommandsTest, SaveLastResultAsReportsAFailedCopy) {
  bed.files->files[kLastResult] = "%PDF last";
  bed.files->files["C:\\ro.pdf"] = "old";
  bed.files->replace_failures["C:\\ro.pdf"] = platform::kErrorAccessDenied;
  bed.dialogs->save_answers = {"C:\\ro.pdf"};
  commands->SaveLastResultAs();
  EXPECT_EQ(bed.files->files["C:\\ro.pdf"], "old");
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_NE(bed.ui->messages[0].text.find("Access is denied"),
            std::string::npos);
  EXPECT_TRUE(bed.shell->executed.empty());
}

TEST_F(TrayCommandsTest, SetAsDefaultPrinterByWindowsVersion) {
  using platform::PlatformId;
  const struct {
    const char* name;
    platform::VersionInfo version;
    const char* os_name;
    std::vector<std::string> calls;  // spooler and shell
    std::vector<std::string> profile;
    bool plumeta_marked;
  } kRows[] = {
      {"95",
       {PlatformId::kWindows9x, 4, 0, 0x040003B6, ""},
       "Microsoft Windows 95",
       {"spooler enum-printers 0x2 level 5",
        "spooler enum-printers 0x2 level 5"},
       {},
       false},
      {"NT 4.0",
       {PlatformId::kNt, 4, 0, 1381, "Service Pack 6",
        platform::ProductType::kWorkstation},
       "Microsoft Windows NT",
       {"spooler enum-printers 0x6 level 4", "spooler open Plumeta 0xF000C",
        "spooler close Plumeta", "spooler enum-printers 0x6 level 4"},
       {"write [windows] device=Plumeta,,", "broadcast windows"},
       true},
      {"2000",
       {PlatformId::kNt, 5, 0, 2195, "", platform::ProductType::kWorkstation},
       "Microsoft Windows 2000",
       {"shell execute open|rundll32.exe|printui.dll,PrintUIEntry /y /n "
        "\"Plumeta\"||0"},
       {},
       false},
      {"XP",
       {PlatformId::kNt, 5, 1, 2600, "", platform::ProductType::kWorkstation},
       "Microsoft Windows XP",
       {"shell execute open|rundll32.exe|printui.dll,PrintUIEntry /y /n "
        "\"Plumeta\"||0"},
       {},
       false},
      {"8",
       {PlatformId::kNt, 6, 2, 9200, "", platform::ProductType::kWorkstation},
       "",
       {"shell execute open|rundll32.exe|printui.dll,PrintUIEntry /y /n "
        "\"Plumeta\"||0"},
       {},
       false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    log.Clear();
    bed.profile->calls.clear();
    for (auto& printer : bed.spooler->printers) {
      printer.info.attributes = platform::kPrinterAttributeLocal;
    }
    bed.system->version = row.version;
    view.os_name = "stale";
    commands->SetAsDefaultPrinter();
    EXPECT_EQ(view.os_name, row.os_name);
    EXPECT_EQ(log.calls(), row.calls);
    EXPECT_EQ(bed.profile->calls, row.profile);
    EXPECT_EQ(
        bed.spooler->Find("Plumeta")->info.attributes,
        platform::kPrinterAttributeLocal |
            (row.plumeta_marked ? platform::kPrinterAttributeDefault : 0));
    EXPECT_EQ(bed.spooler->Find("Office")->info.attributes,
              platform::kPrinterAttributeLocal);
  }
}

TEST_F(TrayCommandsTest, MarkDefaultPrinterWithoutAnEqualEntryDoesNothing) {
  bed.system->version = {platform::PlatformId::kNt, 4, 0, 1381, ""};
  commands->MarkDefaultPrinter("Nowhere");
  for (const auto& printer : bed.spooler->printers) {
    EXPECT_EQ(printer.info.attributes, platform::kPrinterAttributeLocal);
  }
  EXPECT_EQ(log.calls(),
            std::vector<std::string>{"spooler enum-printers 0x6 level 4"});
}

// A spooler whose printers cannot be opened.
class LockedSpooler : public testing::FakeSpooler {
 public:
  platform::ErrorCode Open(const std::string&, std::uint32_t,
                           std::unique_ptr<platform::Printer>*) override {
    return platform::kErrorAccessDenied;
  }
};

TEST_F(TrayCommandsTest, MarkDefaultPrinterRaisesTheSystemError) {
  auto* spooler = new LockedSpooler;
  spooler->printers = bed.spooler->printers;
  bed.platform.spooler.reset(spooler);
  bed.system->version = {platform::PlatformId::kNt, 4, 0, 1381, ""};
  try {
    commands->SetAsDefaultPrinter();
    FAIL() << "no error";
  } catch (const OsError& error) {
    EXPECT_EQ(error.code(), platform::kErrorAccessDenied);
    EXPECT_EQ(std::string(error.what()),
              "System Error.  Code: 5.\r\nAccess is denied");
  }
  EXPECT_TRUE(bed.profile->calls.empty());
}

TEST_F(TrayCommandsTest, EnumPrinterNamesByPlatformFamily) {
  const struct {
    const char* name;
    platform::PlatformId platform;
    platform::ErrorCode size_error;
    platform::ErrorCode error;
    bool with_printers;
    std::vector<std::string> calls;
    bool result;
    std::vector<std::string> names;
    bool message;
  } kRows[] = {
      {"NT",
       platform::PlatformId::kNt,
       0,
       0,
       true,
       {"spooler enum-printers 0x6 level 4"},
       true,
       {"Office", "Plumeta"},
       false},
      {"9x",
       platform::PlatformId::kWindows9x,
       0,
       0,
       true,
       {"spooler enum-printers 0x2 level 5"},
       true,
       {"Office", "Plumeta"},
       false},
      {"no printers",
       platform::PlatformId::kNt,
       0,
       0,
       false,
       {},
       false,
       {},
       false},
      {"spooler not answering",
       platform::PlatformId::kNt,
       1722,
       0,
       true,
       {},
       false,
       {},
       false},
      {"failure",
       platform::PlatformId::kNt,
       0,
       platform::kErrorAccessDenied,
       true,
       {"spooler enum-printers 0x6 level 4"},
       false,
       {},
       true},
  };
  const auto printers = bed.spooler->printers;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    log.Clear();
    bed.ui->messages.clear();
    bed.system->version->platform = row.platform;
    bed.spooler->printers_size_error = row.size_error;
    bed.spooler->enum_printers_error = row.error;
    bed.spooler->printers =
        row.with_printers ? printers
                          : std::vector<testing::FakeSpooler::StoredPrinter>{};
    std::vector<std::string> names;
    EXPECT_EQ(EnumPrinterNames(*bed.spooler, *bed.system, *bed.ui, names),
              row.result);
    EXPECT_EQ(names, row.names);
    EXPECT_EQ(log.calls(), row.calls);
    ASSERT_EQ(bed.ui->messages.size(), row.message ? 1u : 0u);
    if (row.message) {
      EXPECT_EQ(bed.ui->messages[0].text, "Error Enum Printers!");
      EXPECT_EQ(bed.ui->messages[0].caption, "Error");
      EXPECT_EQ(bed.ui->messages[0].icon, platform::MessageIcon::kError);
    }
  }
}

TEST_F(TrayCommandsTest, ForEachJobRunsTheHandlerOnlyForListedJobs) {
  platform::PrintJob job;
  job.job_id = 4;
  bed.spooler->Find("Plumeta")->jobs = {job};
  job.job_id = 2;
  bed.spooler->Find("Plumeta")->jobs.push_back(job);
  bed.spooler->Find("Office")->jobs.clear();
  const struct {
    const char* printer;
    bool result;
    std::vector<std::uint32_t> handled;
  } kRows[] = {
      {"Plumeta", true, {4, 2}},
      {"Office", false, {}},   // no jobs
      {"Missing", false, {}},  // cannot be opened
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.printer);
    log.Clear();
    std::vector<std::uint32_t> handled;
    EXPECT_EQ(ForEachJob(*bed.spooler, row.printer,
                         [&](const platform::PrintJob& listed) {
                           // The printer is closed before any handler runs.
                           EXPECT_EQ(
                               log.calls().back(),
                               "spooler close " + std::string(row.printer));
                           handled.push_back(listed.job_id);
                         }),
              row.result);
    EXPECT_EQ(handled, row.handled);
  }
}

}  // namespace
}  // namespace plumeta
