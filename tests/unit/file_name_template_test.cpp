// The names auto-save makes: the template's tokens, the characters Windows
// refuses, and names cut so that their full path fits MAX_PATH.
#include "monitor/file_name_template.h"

#include <gtest/gtest.h>

#include "monitor/pdf_delivery.h"
#include "tests/unit/support/fake_locale.h"

namespace plumeta {
namespace {

TemplateFacts Facts(const std::string& title) {
  TemplateFacts facts;
  facts.title = title;
  facts.user = "alice";
  facts.time = {2026, 3, 0, 4, 5, 6, 7, 0};
  facts.job_id = 42;
  facts.printer = "Plumeta";
  return facts;
}

TEST(FileNameTemplateTest, TokensAndForbiddenCharacters) {
  const struct {
    const char* text;
    const char* title;
    const char* stem;
  } kRows[] = {
      {"<Title>", "Letter", "Letter"},
      {"<Title>", "a\\b/c:d*e?f\"g<h>i|j\x01k", "a_b_c_d_e_f_g_h_i_j_k"},
      {"<User>-<Date>-<Time>", "", "alice-2026-03-04-05-06-07"},
      {"<JobId> on <Printer>", "", "42 on Plumeta"},
      {"<title> <TITLE>", "Memo", "Memo Memo"},
      {"<Nope> <Title", "X", "_Nope_ _Title"},
      {"<Title>\\sub", "X", "X_sub"},
      {"<User><Title>", "<User>", "alice_User_"},
      {"", "X", ""},
  };
  testing::FakeLocale locale;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ExpandFileNameTemplate(row.text, Facts(row.title), locale),
              row.stem);
  }
}

TEST(FileNameTemplateTest, DoubleByteTitlesKeepTheirSecondBytes) {
  testing::FakeLocale locale;
  locale.double_byte = true;
  // Shift JIS: 0x95 0x5C and 0x83 0x7C end in the codes of '\' and '|'.
  const std::string title = "\x95\x5C\x83\x7C|x";
  EXPECT_EQ(ExpandFileNameTemplate("<Title><", Facts(title), locale),
            "\x95\x5C\x83\x7C_x_");
}

TEST(FileNameTemplateTest, StemsFitTheFolder) {
  const std::string deep = "C:\\" + std::string(200, 'f');
  const struct {
    std::string stem;
    std::string folder;
    std::string fitted;
  } kRows[] = {
      {"Letter", "C:\\PDF", "Letter"},
      {"Letter. . ", "C:\\PDF", "Letter"},
      {"...", "C:\\PDF", "Untitled"},
      {"", "C:\\PDF", "Untitled"},
      {"CON", "C:\\PDF", "_CON"},
      {"lpt1.report", "C:\\PDF", "_lpt1.report"},
      {"COM10", "C:\\PDF", "COM10"},
      {"Console", "C:\\PDF", "Console"},
      {std::string(300, 'a'), deep,
       std::string(kMaxPathLength - deep.size() - 1 - 6 - 4, 'a')},
      {std::string(44, 'a') + " " + std::string(260, 'b'), deep,
       std::string(44, 'a')},
  };
  testing::FakeLocale locale;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.stem.substr(0, 20));
    EXPECT_EQ(FitFileNameStem(row.stem, row.folder, locale), row.fitted);
  }
}

TEST(FileNameTemplateTest, ALongTitleFitsMaxPathWithTheLargestNumber) {
  testing::FakeLocale locale;
  locale.double_byte = true;
  for (const std::string& folder :
       {std::string("C:\\"), std::string("C:\\PDF"),
        "\\\\server\\share\\" + std::string(180, 'd')}) {
    SCOPED_TRACE(folder);
    ASSERT_TRUE(FolderLeavesRoom(folder));
    // Two-byte characters, so that a cut may fall inside one.
    std::string title;
    while (title.size() < 300) title += "\x82\xA0x";
    const std::string stem =
        FitFileNameStem(ExpandFileNameTemplate("<Title>", Facts(title), locale),
                        folder, locale);
    const std::string path = NumberedPdfPath(folder, stem, kMaxNameNumber);
    EXPECT_LE(path.size(), kMaxPathLength);
    EXPECT_GE(path.size(), kMaxPathLength - 2);
    EXPECT_EQ(title.compare(0, stem.size(), stem), 0);
    EXPECT_NE(stem.back(), '\x82');
  }
  EXPECT_FALSE(FolderLeavesRoom("C:\\" + std::string(245, 'd')));
}

TEST(FileNameTemplateTest, NumberedPaths) {
  EXPECT_EQ(NumberedPdfPath("C:\\PDF", "Letter", 1), "C:\\PDF\\Letter.pdf");
  EXPECT_EQ(NumberedPdfPath("C:\\PDF", "Letter", 2), "C:\\PDF\\Letter (2).pdf");
  EXPECT_EQ(NumberedPdfPath("C:\\", "Letter", 1), "C:\\Letter.pdf");
}

}  // namespace
}  // namespace plumeta
