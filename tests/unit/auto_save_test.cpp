// Auto-save: its settings with the administrator's lock, the menu item, and
// the conversion flow that saves into the folder without asking.
#include <gtest/gtest.h>

#include <set>

#include "monitor/auto_save_settings.h"
#include "monitor/file_name_template.h"
#include "monitor/pdf_delivery.h"
#include "tests/unit/support/job_watcher_bed.h"

namespace plumeta {
namespace {

using platform::RegistryValue;
using platform::RootKey;
using testing::JobWatcherTest;
using testing::kLastResult;

constexpr char kFolder[] = "C:\\PDF";

TEST(AutoSaveSettingsTest, TheAdministratorsValuesWin) {
  // Each value: nullopt when missing.
  using Value = std::optional<RegistryValue>;
  const RegistryValue number = RegistryValue::FromDword(1);
  const struct {
    const char* name;
    Value user_folder, user_template, admin_folder, admin_template;
    AutoSaveSettings expected;
    int problems;
  } kRows[] = {
      {"nothing set", {}, {}, {}, {}, {"", "<Title>", false, ""}, 0},
      {"the user's",
       RegistryValue::String("C:\\Mine\\"),
       RegistryValue::String("<User>"),
       {},
       {},
       {"C:\\Mine", "<User>", false, "C:\\Mine\\"},
       0},
      {"the administrator's over the user's",
       RegistryValue::String("C:\\Mine"),
       RegistryValue::String("<User>"),
       RegistryValue::String("D:\\All"),
       RegistryValue::String("<JobId>"),
       {"D:\\All", "<JobId>", true, "C:\\Mine"},
       0},
      {"an empty administrator's folder: the dialog, locked",
       RegistryValue::String("C:\\Mine"),
       {},
       RegistryValue::String(""),
       {},
       {"", "<Title>", true, "C:\\Mine"},
       0},
      {"the administrator's template alone",
       RegistryValue::String("C:\\Mine"),
       RegistryValue::String("<User>"),
       {},
       RegistryValue::String("<Date>"),
       {"C:\\Mine", "<Date>", false, "C:\\Mine"},
       0},
      {"wrong types", number, number, {}, {}, {"", "<Title>", false, ""}, 2},
      {"the administrator's of a wrong type still locks",
       RegistryValue::String("C:\\Mine"),
       {},
       number,
       {},
       {"", "<Title>", true, "C:\\Mine"},
       1},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    testing::MonitorTestBed bed;
    const std::pair<const Value*, std::pair<RootKey, const char*>> values[] = {
        {&row.user_folder, {RootKey::kCurrentUser, kAutoSaveFolderValue}},
        {&row.user_template, {RootKey::kCurrentUser, kFileNameTemplateValue}},
        {&row.admin_folder, {RootKey::kLocalMachine, kAutoSaveFolderValue}},
        {&row.admin_template, {RootKey::kLocalMachine, kFileNameTemplateValue}},
    };
    for (const auto& [value, where] : values) {
      if (*value) bed.StoreValue(where.second, **value, where.first);
    }
    std::vector<std::string> problems;
    EXPECT_EQ(ReadAutoSaveSettings(*bed.registry, *bed.locale, &problems),
              row.expected);
    EXPECT_EQ(problems.size(), static_cast<std::size_t>(row.problems));
  }
}

TEST(AutoSaveSettingsTest, TidiedAndCheckedFolders) {
  testing::FakeLocale locale;
  locale.double_byte = true;
  const struct {
    const char* typed;
    const char* tidied;
  } kTidy[] = {
      {"  \"C:\\PDF\\\\\"  ", "C:\\PDF"},
      {"C:\\", "C:\\"},
      {"\\\\server\\share\\", "\\\\server\\share"},
      {"C:\\\x95\x5C", "C:\\\x95\x5C"},  // ends in a two-byte character
      {"   ", ""},
  };
  for (const auto& row : kTidy) {
    EXPECT_EQ(TidyFolder(row.typed, locale), row.tidied) << row.typed;
  }
  testing::FakeFiles files;
  files.folders = {"C:\\PDF", "\\\\server\\share"};
  const struct {
    std::string folder;
    const char* problem;  // the end of the text; empty when usable
  } kCheck[] = {
      {"C:\\PDF", ""},
      {"\\\\server\\share", ""},
      {"PDF", "give a full path, such as C:\\PDF."},
      {"C:\\Missing", "there is no such folder."},
      {"C:\\" + std::string(250, 'x'), "the path is too long."},
  };
  for (const auto& row : kCheck) {
    const std::optional<std::string> problem = FolderProblem(files, row.folder);
    EXPECT_EQ(problem.value_or(""),
              *row.problem ? "PDFs cannot be saved automatically in '" +
                                 row.folder + "': " + row.problem
                           : "");
  }
}

class AutoSaveFlowTest : public JobWatcherTest {
 public:
  AutoSaveFlowTest() {
    auto_save_folder = kFolder;
    bed.files->folders.insert(kFolder);
  }
  // Prints a job whose PDF Ghostscript finishes while the flow waits.
  void PrintAndFinish(std::uint32_t id, const std::string& document) {
    bed.application->on_wait = [this, id] {
      if (bed.application->waits == 3) Finish(id, "job " + std::to_string(id));
    };
    bed.application->waits = 0;
    Print(id, document);
    Advance(200);
    bed.application->on_wait = nullptr;
  }
  std::string Saved(const std::string& name) {
    const auto it = bed.files->files.find(std::string(kFolder) + "\\" + name);
    return it == bed.files->files.end() ? "<missing>" : it->second;
  }
};

TEST_F(AutoSaveFlowTest, TenJobsInARowLandWithoutAQuestion) {
  file_name_template = "<Title> by <User>";
  for (std::uint32_t id = 1; id <= 10; ++id) {
    PrintAndFinish(id, id % 2 ? "Report: Q1" : "Memo");
  }
  EXPECT_TRUE(bed.dialogs->saves.empty());
  EXPECT_TRUE(bed.ui->messages.empty());
  EXPECT_EQ(Saved("Report_ Q1 by User.pdf"), Pdf("job 1"));
  EXPECT_EQ(Saved("Memo by User.pdf"), Pdf("job 2"));
  EXPECT_EQ(Saved("Report_ Q1 by User (5).pdf"), Pdf("job 9"));
  EXPECT_EQ(Saved("Memo by User (5).pdf"), Pdf("job 10"));
  // Ten PDFs and nothing else: no last result, nothing set aside.
  EXPECT_EQ(bed.files->files.size(), 10u);
  EXPECT_FALSE(tray.window_shown);
  EXPECT_EQ(tray.calls.back(), "icon 0");
  EXPECT_NE(std::find(tray.calls.begin(), tray.calls.end(),
                      "notice The PDF was saved as C:\\PDF\\Memo by User "
                      "(5).pdf"),
            tray.calls.end());
  EXPECT_TRUE(Opened("C:\\PDF\\Memo by User (5).pdf"));
}

TEST_F(AutoSaveFlowTest, NoNoticeWithoutBalloonsNoShellWhenNotTicked) {
  os_name = "Microsoft Windows NT";
  show_pdf_when_done = false;
  PrintAndFinish(1, "Letter");
  EXPECT_EQ(Saved("Letter.pdf"), Pdf("job 1"));
  EXPECT_TRUE(bed.shell->executed.empty());
  for (const std::string& call : tray.calls) {
    EXPECT_NE(call, "balloon");
    EXPECT_FALSE(call.starts_with("notice")) << call;
  }
}

TEST_F(AutoSaveFlowTest, AFailedCopyKeepsLastResultAndTellsWhy) {
  bed.files->copy_failures[*PartialCopyPath("C:\\PDF\\Letter.pdf", 0)] =
      platform::kErrorDiskFull;
  PrintAndFinish(1, "Letter");
  EXPECT_EQ(bed.files->files[kLastResult], Pdf("job 1"));
  EXPECT_EQ(bed.files->files.size(), 1u);
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_TRUE(bed.ui->messages[0].text.starts_with(
      "The PDF could not be copied from 'C:\\Temp\\1024.pdf' to "
      "'C:\\PDF\\Letter.pdf'.\r\n"));
  EXPECT_TRUE(bed.shell->executed.empty());
}

TEST_F(AutoSaveFlowTest, WithoutAFolderTheDialogAsksAsBefore) {
  auto_save_folder.clear();
  bed.dialogs->save_answers = {std::nullopt};
  PrintAndFinish(1, "Letter");
  ASSERT_EQ(bed.dialogs->saves.size(), 1u);
  EXPECT_EQ(bed.dialogs->saves[0].file_name, "Letter.PDF");
}

TEST(AutoSaveDeliveryTest, NamesAreTakenOnlyWhereNothingIs) {
  testing::FakeFiles files;
  files.files["C:\\Temp\\a.pdf"] = "new";
  files.files["C:\\PDF\\Letter.pdf"] = "one";
  files.files["C:\\PDF\\Letter (2).pdf"] = "two";
  files.files["C:\\PDF\\~plm0.tmp"] = "someone else's";
  std::string delivered;
  ASSERT_EQ(DeliverPdfAsNew(files, "C:\\Temp\\a.pdf", "C:\\PDF", "Letter",
                            &delivered),
            platform::kSuccess);
  EXPECT_EQ(delivered, "C:\\PDF\\Letter (3).pdf");
  EXPECT_EQ(files.files["C:\\PDF\\Letter (3).pdf"], "new");
  EXPECT_EQ(files.files["C:\\PDF\\Letter.pdf"], "one");
  EXPECT_EQ(files.files["C:\\PDF\\~plm0.tmp"], "someone else's");
  // Every name taken: the partial copy goes, the source stays.
  for (int n = 1; n <= kMaxNameNumber; ++n) {
    files.files[n == 1 ? "C:\\PDF\\Memo.pdf"
                       : "C:\\PDF\\Memo (" + std::to_string(n) + ").pdf"] = "";
  }
  const std::size_t before = files.files.size();
  EXPECT_EQ(
      DeliverPdfAsNew(files, "C:\\Temp\\a.pdf", "C:\\PDF", "Memo", &delivered),
      platform::kErrorAlreadyExists);
  EXPECT_EQ(files.files.size(), before);
}

// The monitor's side: the item, the lock, and the one report of a folder
// that cannot be used.
class AutoSaveMenuTest : public ::testing::Test {
 public:
  widgets::TMenuItem& Item(TMain& main) {
    return *main.popup_menu1().FindItem("SaveAutomatically1");
  }
  testing::MonitorTestBed bed;
};

TEST_F(AutoSaveMenuTest, TheItemSetsTheUsersFolder) {
  bed.files->folders = {"C:\\PDF", "D:\\Other"};
  auto main = bed.Start();
  EXPECT_TRUE(Item(*main).Visible());
  EXPECT_FALSE(Item(*main).Checked());
  const struct {
    const char* answer;
    const char* stored;
    bool ticked;
    std::size_t messages;
  } kRows[] = {
      {" \"C:\\PDF\\\" ", "C:\\PDF", true, 0},
      {"C:\\Missing", "C:\\PDF", true, 1},  // refused, the old one stays
      {"D:\\Other", "D:\\Other", true, 0},
      {"", "", false, 0},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.answer);
    bed.ui->messages.clear();
    bed.dialogs->input_answers = {row.answer};
    ASSERT_TRUE(main->ClickMenuItem("SaveAutomatically1"));
    EXPECT_EQ(bed.Stored(kAutoSaveFolderValue), row.stored);
    EXPECT_EQ(main->auto_save().folder, row.stored);
    EXPECT_EQ(Item(*main).Checked(), row.ticked);
    EXPECT_EQ(bed.ui->messages.size(), row.messages);
  }
  EXPECT_EQ(bed.dialogs->inputs.back().initial, "D:\\Other");
}

TEST_F(AutoSaveMenuTest, TheAdministratorsFolderHidesTheItem) {
  bed.files->folders = {"D:\\All"};
  bed.Store(kAutoSaveFolderValue, "C:\\Mine");
  bed.StoreValue(kAutoSaveFolderValue, RegistryValue::String("D:\\All"),
                 RootKey::kLocalMachine);
  auto main = bed.Start();
  EXPECT_FALSE(Item(*main).Visible());
  EXPECT_FALSE(main->ClickMenuItem("SaveAutomatically1"));
  EXPECT_EQ(main->UsableAutoSaveFolder(), "D:\\All");
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(AutoSaveMenuTest, AnUnusableFolderIsReportedOnceAndTheDialogAsks) {
  bed.Store(kAutoSaveFolderValue, "C:\\Gone");
  auto main = bed.Start();
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_EQ(bed.ui->messages[0].text,
            "PDFs cannot be saved automatically in 'C:\\Gone': there is no "
            "such folder.\r\nThe save dialog asks where each PDF goes.");
  EXPECT_EQ(main->UsableAutoSaveFolder(), "");
  EXPECT_EQ(main->UsableAutoSaveFolder(), "");
  EXPECT_EQ(bed.ui->messages.size(), 1u);
  // Back, then gone again: reported again.
  bed.files->folders = {"C:\\Gone"};
  EXPECT_EQ(main->UsableAutoSaveFolder(), "C:\\Gone");
  bed.files->folders.clear();
  EXPECT_EQ(main->UsableAutoSaveFolder(), "");
  EXPECT_EQ(bed.ui->messages.size(), 2u);
}

}  // namespace
}  // namespace plumeta
