// Auto-save: its settings with the administrator's lock, the menu item, and
// the conversion flow that saves into the folder without asking.
#include <gtest/gtest.h>

#include "monitor/auto_save_settings.h"
#include "monitor/pdf_delivery.h"
#include "tests/unit/support/job_watcher_bed.h"
#include "tests/unit/support/standard_user_registry.h"

namespace plumeta {
namespace {

using platform::RegistryValue;
using platform::RootKey;
using testing::kLastResult;

TEST(AutoSaveSettingsTest, TheAdministratorsValuesWin) {
  // nullptr: no such value; "#": a number.
  const struct {
    const char *user_folder, *user_template, *admin_folder, *admin_template;
    AutoSaveSettings expected;
    std::size_t problems;
  } kRows[] = {
      {nullptr, nullptr, nullptr, nullptr, {"", "<Title>", false, ""}, 0},
      {"C:\\Me\\",
       "<User>",
       nullptr,
       nullptr,
       {"C:\\Me", "<User>", false, "C:\\Me\\"},
       0},
      {"C:\\Me",
       "<User>",
       "D:\\All",
       "<JobId>",
       {"D:\\All", "<JobId>", true, "C:\\Me"},
       0},
      {"C:\\Me", nullptr, "", nullptr, {"", "<Title>", true, "C:\\Me"}, 0},
      {"C:\\Me",
       "<User>",
       nullptr,
       "<Date>",
       {"C:\\Me", "<Date>", false, "C:\\Me"},
       0},
      {"#", "#", nullptr, nullptr, {"", "<Title>", false, ""}, 2},
      {"C:\\Me", nullptr, "#", nullptr, {"", "<Title>", true, "C:\\Me"}, 1},
  };
  for (const auto& row : kRows) {
    testing::MonitorTestBed bed;
    const std::tuple<const char*, RootKey, const char*> values[] = {
        {row.user_folder, RootKey::kCurrentUser, kAutoSaveFolderValue},
        {row.user_template, RootKey::kCurrentUser, kFileNameTemplateValue},
        {row.admin_folder, RootKey::kLocalMachine, kAutoSaveFolderValue},
        {row.admin_template, RootKey::kLocalMachine, kFileNameTemplateValue}};
    for (const auto& [text, root, name] : values) {
      if (text == nullptr) continue;
      bed.StoreValue(name,
                     std::string(text) == "#" ? RegistryValue::FromDword(1)
                                              : RegistryValue::String(text),
                     root);
    }
    std::vector<std::string> problems;
    EXPECT_EQ(ReadAutoSaveSettings(*bed.registry, *bed.locale, &problems),
              row.expected)
        << row.expected.folder;
    EXPECT_EQ(problems.size(), row.problems);
  }
}

TEST(AutoSaveSettingsTest, TheLockHoldsForUsersWithoutAdministratorRights) {
  testing::MonitorTestBed bed;
  bed.StoreValue(kAutoSaveFolderValue, RegistryValue::String("C:\\Me"),
                 RootKey::kCurrentUser);
  bed.StoreValue(kAutoSaveFolderValue, RegistryValue::String("D:\\All"),
                 RootKey::kLocalMachine);
  testing::StandardUserRegistry registry(*bed.registry);
  std::vector<std::string> problems;
  const AutoSaveSettings settings =
      ReadAutoSaveSettings(registry, *bed.locale, &problems);
  EXPECT_EQ(settings.folder, "D:\\All");
  EXPECT_TRUE(settings.locked);
  EXPECT_TRUE(problems.empty());
}

TEST(AutoSaveSettingsTest, TidiedAndCheckedFolders) {
  testing::FakeLocale locale;
  locale.double_byte = true;
  EXPECT_EQ(TidyFolder("  \"C:\\PDF\\\\\"  ", locale), "C:\\PDF");
  EXPECT_EQ(TidyFolder("C:\\\\", locale), "C:\\");
  // A two-byte character whose second byte is the code of '\' stays whole.
  EXPECT_EQ(TidyFolder("C:\\\x95\x5C", locale), "C:\\\x95\x5C");
  testing::FakeFiles files;
  files.folders = {"C:\\PDF", "\\\\server\\share"};
  const struct {
    std::string folder;
    const char* problem;  // the end of the text; empty when usable
  } kRows[] = {
      {"C:\\PDF", ""},
      {"\\\\server\\share", ""},
      {"PDF", "give a full path, such as C:\\PDF."},
      {"C:\\Missing", "there is no such folder."},
      {"C:\\" + std::string(250, 'x'), "the path is too long."},
  };
  for (const auto& row : kRows) {
    const std::string start =
        "PDFs cannot be saved automatically in '" + row.folder + "': ";
    EXPECT_EQ(FolderProblem(files, row.folder).value_or(start),
              start + row.problem);
  }
}

class AutoSaveFlowTest : public testing::JobWatcherTest {
 public:
  AutoSaveFlowTest() { view.auto_save_folder = "C:\\PDF"; }
  // Prints a job whose PDF Ghostscript finishes while the flow waits.
  void PrintAndFinish(std::uint32_t id, const std::string& document) {
    bed.application->on_wait = [this, id] {
      if (bed.application->waits == 3) Finish(id, "job " + std::to_string(id));
    };
    bed.application->waits = 0;
    Print(id, document);
    Advance(200);
  }
};

TEST_F(AutoSaveFlowTest, TenJobsInARowLandWithoutAQuestion) {
  view.file_name_template = "<Title> by <User>";
  for (std::uint32_t id = 1; id <= 10; ++id) {
    PrintAndFinish(id, id % 2 ? "Report: Q1" : "Memo");
  }
  EXPECT_TRUE(bed.dialogs->saves.empty());
  EXPECT_TRUE(bed.ui->messages.empty());
  auto& files = bed.files->files;
  EXPECT_EQ(files["C:\\PDF\\Report_ Q1 by User.pdf"], Pdf("job 1"));
  EXPECT_EQ(files["C:\\PDF\\Memo by User.pdf"], Pdf("job 2"));
  EXPECT_EQ(files["C:\\PDF\\Report_ Q1 by User (5).pdf"], Pdf("job 9"));
  EXPECT_EQ(files["C:\\PDF\\Memo by User (5).pdf"], Pdf("job 10"));
  // Ten PDFs and nothing else: no last result, nothing set aside.
  EXPECT_EQ(files.size(), 10u);
  EXPECT_FALSE(view.window_shown);
  EXPECT_EQ(view.calls.back(), "icon 0");
  EXPECT_EQ(view.calls.end()[-3],
            "notice The PDF was saved as C:\\PDF\\Memo by User (5).pdf");
  EXPECT_TRUE(Opened("C:\\PDF\\Memo by User (5).pdf"));
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

// In the temporary folder, LastResult's name and the names PDFs are set
// aside under are never taken: the next free number is.
TEST_F(AutoSaveFlowTest, NeverTakesTheNamesOfTheMonitorsOwnFiles) {
  view.auto_save_folder = "c:\\temp";
  const struct {
    const char* document;
    const char* saved;
  } kRows[] = {
      {"1024", "c:\\temp\\1024 (2).pdf"},
      {"1024-7", "c:\\temp\\1024-7 (2).pdf"},
      {"1024-x", "c:\\temp\\1024-x.pdf"},
  };
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.document);
    PrintAndFinish(++id, row.document);
    EXPECT_EQ(bed.files->files[row.saved], Pdf("job " + std::to_string(id)));
  }
  EXPECT_TRUE(bed.ui->messages.empty());
}

// The monitor's side: the item, the lock, and the one report of a folder
// that cannot be used.
class AutoSaveMenuTest : public ::testing::Test {
 public:
  platform::MenuItemView Item(TMain& main) {
    return bed.ShownItem(main, "SaveAutomatically1");
  }
  testing::MonitorTestBed bed;
};

TEST_F(AutoSaveMenuTest, TheItemSetsTheUsersFolder) {
  bed.files->folders = {"C:\\PDF", "D:\\Other"};
  auto main = bed.Start();
  const struct {
    const char* answer;
    const char* stored;
    std::size_t messages;
  } kRows[] = {
      {" \"C:\\PDF\\\" ", "C:\\PDF", 0},
      {"C:\\Missing", "C:\\PDF", 1},  // refused, the old one stays
      {"D:\\Other", "D:\\Other", 0},
      {"", "", 0},
  };
  for (const auto& row : kRows) {
    bed.ui->messages.clear();
    bed.dialogs->input_answers = {row.answer};
    ASSERT_TRUE(main->ClickMenuItem("SaveAutomatically1"));
    EXPECT_EQ(bed.Stored(kAutoSaveFolderValue), row.stored);
    EXPECT_EQ(main->AutoSaveFolder(), row.stored);
    EXPECT_EQ(Item(*main).checked, *row.stored != '\0');
    EXPECT_EQ(bed.ui->messages.size(), row.messages) << row.answer;
  }
  EXPECT_EQ(bed.dialogs->inputs.back().initial, "D:\\Other");
}

TEST_F(AutoSaveMenuTest, TheAdministratorsFolderHidesTheItem) {
  bed.files->folders = {"D:\\All"};
  bed.Store(kAutoSaveFolderValue, "C:\\Mine");
  bed.StoreValue(kAutoSaveFolderValue, RegistryValue::String("D:\\All"),
                 RootKey::kLocalMachine);
  auto main = bed.Start();
  EXPECT_FALSE(Item(*main).visible);
  EXPECT_FALSE(main->ClickMenuItem("SaveAutomatically1"));
  EXPECT_EQ(main->AutoSaveFolder(), "D:\\All");
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST_F(AutoSaveMenuTest, AnUnusableFolderIsReportedOnceAndTheDialogAsks) {
  bed.Store(kAutoSaveFolderValue, "C:\\Gone");
  auto main = bed.Start();
  EXPECT_EQ(main->AutoSaveFolder(), "");
  ASSERT_EQ(bed.ui->messages.size(), 1u);
  EXPECT_EQ(bed.ui->messages[0].text,
            "PDFs cannot be saved automatically in 'C:\\Gone': there is no "
            "such folder.\r\nThe save dialog asks where each PDF goes.");
  // Back, then gone again: reported again.
  bed.files->folders = {"C:\\Gone"};
  EXPECT_EQ(main->AutoSaveFolder(), "C:\\Gone");
  bed.files->folders.clear();
  EXPECT_EQ(main->AutoSaveFolder(), "");
  EXPECT_EQ(bed.ui->messages.size(), 2u);
}

}  // namespace
}  // namespace plumeta
