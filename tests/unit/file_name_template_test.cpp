// The names auto-save makes: the template's tokens, the characters Windows
// refuses, and names cut so that their full path fits MAX_PATH.
#include "monitor/file_name_template.h"

#include <gtest/gtest.h>

#include "monitor/file_names.h"
#include "tests/unit/support/fake_locale.h"

namespace plumeta {
namespace {

TEST(FileNameTemplateTest, TokensAndForbiddenCharacters) {
  const struct {
    const char* text;
    const char* title;
    const char* stem;
  } kRows[] = {
      {"<Title>", "a\\b/c:d*e?f\"g<h>i|j\x01k", "a_b_c_d_e_f_g_h_i_j_k"},
      {"<User>-<Date>-<Time>", "", "alice-2026-03-04-05-06-07"},
      {"<JobId> on <Printer>", "", "42 on Plumeta"},
      {"<title> <TITLE>\\x", "Memo", "Memo Memo_x"},
      {"<Nope> <Title", "X", "_Nope_ _Title"},
      {"<User><Title>", "<User>", "alice_User_"},
      // Shift JIS: 0x95 0x5C and 0x83 0x7C end in the codes of '\' and '|'.
      {"<Title><", "\x95\x5C\x83\x7C|x", "\x95\x5C\x83\x7C_x_"},
  };
  testing::FakeLocale locale;
  locale.double_byte = true;
  for (const auto& row : kRows) {
    const TemplateFacts facts{
        row.title, "alice", {2026, 3, 0, 4, 5, 6, 7, 0}, 42, "Plumeta"};
    EXPECT_EQ(ExpandFileNameTemplate(row.text, facts, locale), row.stem)
        << row.text;
  }
}

TEST(FileNameTemplateTest, StemsFitTheFolder) {
  const std::string deep = "C:\\" + std::string(200, 'f');
  // What a name in `deep` may hold: MAX_PATH less "\", " (999)" and ".pdf".
  const std::size_t room = kMaxPathLength - deep.size() - 1 - 6 - 4;
  const struct {
    std::string stem, folder, fitted;
  } kRows[] = {
      {"Letter. . ", "C:\\PDF", "Letter"},
      {"...", "C:\\PDF", "Untitled"},
      {"CON", "C:\\", "_CON"},
      {"lpt1.report", "C:\\PDF", "_lpt1.report"},
      {"COM10", "C:\\PDF", "COM10"},
      {std::string(300, 'a'), deep, std::string(room, 'a')},
      {std::string(room - 1, 'a') + " b", deep, std::string(room - 1, 'a')},
  };
  testing::FakeLocale locale;
  for (const auto& row : kRows) {
    EXPECT_EQ(FitFileNameStem(row.stem, row.folder, locale), row.fitted);
  }
  EXPECT_EQ(NumberedPdfPath("C:\\", "Letter", 2), "C:\\Letter (2).pdf");
  EXPECT_FALSE(FolderLeavesRoom("C:\\" + std::string(245, 'd')));
}

// A 300-character title of two-byte characters: cut on a character, and the
// path with the largest number fits MAX_PATH.
TEST(FileNameTemplateTest, ALongDoubleByteTitleFitsMaxPath) {
  testing::FakeLocale locale;
  locale.double_byte = true;
  std::string title;
  while (title.size() < 300) title += "\x82\xA0x";
  for (const std::string& folder :
       {std::string("C:\\"), "\\\\server\\share\\" + std::string(180, 'd')}) {
    const std::string stem = FitFileNameStem(title, folder, locale);
    const std::string path = NumberedPdfPath(folder, stem, kMaxNameNumber);
    EXPECT_LE(path.size(), kMaxPathLength);
    EXPECT_GE(path.size(), kMaxPathLength - 2);
    EXPECT_EQ(title.compare(0, stem.size(), stem), 0);
    EXPECT_NE(stem.back(), '\x82');
  }
}

}  // namespace
}  // namespace plumeta
