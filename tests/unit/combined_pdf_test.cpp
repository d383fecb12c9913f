// The collection "Combine Jobs" keeps, the merge's arguments and the
// argument file while jobs are combined.
#include "monitor/combined_pdf.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/job_collection.h"
#include "monitor/response_file.h"
#include "tests/unit/support/fake_files.h"
#include "tests/unit/support/job_watcher_bed.h"

namespace plumeta {
namespace {

constexpr char kFolder[] = "C:\\Temp\\Plumeta Combined";
constexpr char kList[] = "C:\\Temp\\Plumeta Combined\\documents.lst";

std::string PagesPdf(int pages) {
  std::string pdf = "%PDF-1.7\n1 0 obj\n<</Type /Pages /Count " +
                    std::to_string(pages) + ">>\nendobj\n";
  for (int i = 0; i < pages; ++i) pdf += "<</Type/Page/Parent 1 0 R>>\n";
  return pdf + "startxref\n9\n%%EOF\n";
}

struct Job {
  std::string pdf;
  std::string document;
  int pages;
};

// Each row prints its jobs into a fresh collection, after a list a former
// run may have left; failures are set on the fake files before the last
// job. The collection, and a fresh one loaded from the same files, hold
// `expected` in order.
TEST(JobCollectionTest, AddOrderCountPersistenceAndFailure) {
  const struct {
    const char* name;
    std::string former_list;
    std::vector<Job> jobs;
    std::map<std::string, platform::ErrorCode> replace_failures;
    platform::ErrorCode last_result;
    std::vector<std::string> expected;  // document names
    int pages;
  } kRows[] = {
      {"in the order printed, pages added up",
       "",
       {{"C:\\Temp\\a.pdf", "Web page", 2},
        {"C:\\Temp\\b.pdf", "Mail", 3},
        {"C:\\Temp\\c.pdf", "Attachment", 1}},
       {},
       platform::kSuccess,
       {"Web page", "Mail", "Attachment"},
       6},
      {"a former run's documents come first",
       "1.pdf\t4\tann\tEarlier\r\n",
       {{"C:\\Temp\\a.pdf", "Later", 1}},
       {},
       platform::kSuccess,
       {"Earlier", "Later"},
       5},
      {"a listed PDF that is gone is left out; a stray file keeps its name",
       "7.pdf\t4\tann\tGone\r\n",
       {{"C:\\Temp\\a.pdf", "Kept", 1}},
       {},
       platform::kSuccess,
       {"Kept"},
       1},
      {"a list that cannot be written keeps the collection as it was",
       "",
       {{"C:\\Temp\\a.pdf", "First", 1}, {"C:\\Temp\\b.pdf", "Second", 2}},
       {{kList, platform::kErrorAccessDenied}},
       platform::kErrorAccessDenied,
       {"First"},
       1},
      {"a tab or line break in a name cannot break the list",
       "",
       {{"C:\\Temp\\a.pdf", "Tab\there\r\nand there", 1}},
       {},
       platform::kSuccess,
       {"Tabhereand there"},
       1},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    testing::FakeFiles files;
    if (!row.former_list.empty()) {
      files.files[kList] = row.former_list;
      files.files[std::string(kFolder) + "\\1.pdf"] = PagesPdf(4);
    }
    JobCollection collection(files, kFolder);
    collection.Load();
    platform::ErrorCode last = platform::kSuccess;
    for (std::size_t i = 0; i < row.jobs.size(); ++i) {
      const Job& job = row.jobs[i];
      files.files[job.pdf] = PagesPdf(job.pages);
      if (i + 1 == row.jobs.size())
        files.replace_failures = row.replace_failures;
      last = collection.Add(job.pdf, job.document, "ann");
    }
    EXPECT_EQ(last, row.last_result);
    // A PDF that could not be added is still where it was.
    EXPECT_EQ(files.Exists(row.jobs.back().pdf),
              row.last_result != platform::kSuccess);
    files.replace_failures.clear();

    JobCollection restarted(files, kFolder);
    restarted.Load();
    for (const JobCollection* seen : {&collection, &restarted}) {
      std::vector<std::string> documents;
      for (const CollectedDocument& document : seen->documents()) {
        documents.push_back(document.document);
        EXPECT_TRUE(files.Exists(std::string(kFolder) + "\\" + document.file));
      }
      EXPECT_EQ(documents, row.expected);
      EXPECT_EQ(seen->pages(), row.pages);
    }
    EXPECT_EQ(restarted.Paths(), collection.Paths());

    restarted.Clear();
    EXPECT_TRUE(restarted.empty());
    for (const std::string& path : collection.Paths()) {
      EXPECT_FALSE(files.Exists(path));
    }
    EXPECT_FALSE(files.Exists(kList));
  }
}

TEST(CountPdfPagesTest, PageObjectsOnly) {
  const struct {
    std::string text;
    std::optional<int> pages;
  } kRows[] = {
      {PagesPdf(3), 3},
      {"<< /Type  /Page >> <</Type\r\n/Page/Contents 4 0 R>>", 2},
      {"<</Type/Pages/Kids[]>> <</Type/PageLabel>>", std::nullopt},
      // Pages inside compressed object streams are not seen.
      {"<</Type/ObjStm/N 5/Filter/FlateDecode>>stream x endstream",
       std::nullopt},
      {"/Typeface/Page", std::nullopt},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(CountPdfPages(row.text), row.pages);
  }
}

TEST(CountPdfPagesTest, FileReadInPiecesSeesANameAcrossTheirBorder) {
  testing::FakeFiles files;
  // The second page's "/Type/Page" straddles the first megabyte's end.
  std::string text = "<</Type/Page>>";
  text += std::string((1 << 20) - text.size() - 4, ' ');
  text += "<</Type/Page>>";
  files.files["C:\\big.pdf"] = text;
  EXPECT_EQ(CountPdfFilePages(files, "C:\\big.pdf"), 2);
}

// While jobs are combined the argument file carries no password and
// withholds nothing; the merge carries them as set, as argv values that
// Ghostscript takes unsplit.
TEST(CombinedPdfTest, PasswordsGoToTheMergeOnly) {
  const ConversionSettings settings{"1.3",     "Print", "us er",
                                    "own\"er", "600",   "01111111"};
  const std::vector<std::string> intermediate =
      IntermediateArguments(settings, "C:\\Temp\\");
  for (const std::string& argument : intermediate) {
    EXPECT_EQ(argument.find("Password"), std::string::npos) << argument;
    EXPECT_EQ(argument.find("Permissions"), std::string::npos) << argument;
  }
  EXPECT_NE(std::find(intermediate.begin(), intermediate.end(),
                      "-dWriteObjStms=false"),
            intermediate.end());
  EXPECT_EQ(intermediate.back(), "-f");

  EXPECT_EQ(MergeArguments(settings, {"C:\\T\\1.pdf", "-2.pdf"},
                           "C:\\Out 100%.pdf", "generated"),
            (std::vector<std::string>{
                "gs", "-sDEVICE=pdfwrite", "-sOutputFile=C:\\Out 100%%.pdf",
                "-q", "-dNOPAUSE", "-dSAFER", "-dBATCH", "-r600",
                "-dCompatibilityLevel=1.4", "-dPDFSETTINGS=/printer",
                "-sOwnerPassword=own\"er", "-sUserPassword=us er",
                "-dEncryptionR#3", "-dKeyLength#128", "-dPermissions#-8", "-f",
                "C:\\T\\1.pdf", "-f", "-2.pdf"}));
}

TEST(CombinedPdfTest, AddedText) {
  EXPECT_EQ(AddedText("Mail", 3, 17),
            "'Mail' was added to the combined PDF (3 documents, 17 pages)");
  EXPECT_EQ(AddedText("Mail", 1, 1),
            "'Mail' was added to the combined PDF (1 document, 1 page)");
  EXPECT_EQ(AddedText("Mail", 2, 0),
            "'Mail' was added to the combined PDF (2 documents)");
}

// With "Combine Jobs" ticked the flow asks nothing and hands the job's PDF
// to the collection; when that fails the PDF is the last result again.
using CombinedFlowTest = testing::JobWatcherTest;

TEST_F(CombinedFlowTest, ACombinedJobIsCollectedNotDelivered) {
  const struct {
    platform::ErrorCode add_result;
    std::size_t files_left;  // the set-aside PDF, or LastResult
    std::size_t messages;
  } kRows[] = {{platform::kSuccess, 1, 0}, {platform::kErrorDiskFull, 1, 1}};
  std::uint32_t id = 0;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.add_result);
    bed.ui->messages.clear();
    bed.files->files.clear();
    view.combine_jobs = true;
    view.add_result = row.add_result;
    ++id;
    bed.application->on_wait = [&] {
      if (bed.application->waits == 3) Finish(id, "job");
    };
    bed.application->waits = 0;
    Print(id, "Chapter");
    Advance(200);
    EXPECT_TRUE(bed.dialogs->saves.empty());
    EXPECT_TRUE(bed.shell->executed.empty());
    EXPECT_EQ(bed.files->files.size(), row.files_left);
    EXPECT_EQ(bed.files->Exists(testing::kLastResult),
              row.add_result != platform::kSuccess);
    EXPECT_NE(std::find_if(view.calls.begin(), view.calls.end(),
                           [](const std::string& call) {
                             return call.starts_with("collect ") &&
                                    call.ends_with(" Chapter");
                           }),
              view.calls.end());
    ASSERT_EQ(bed.ui->messages.size(), row.messages);
    if (row.messages > 0) {
      EXPECT_NE(bed.ui->messages[0].text.find("C:\\Temp\\Plumeta Combined"),
                std::string::npos);
    }
    EXPECT_FALSE(view.cycling);
  }
}

}  // namespace
}  // namespace plumeta
