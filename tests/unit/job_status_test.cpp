// The JobTable's computed texts and the proposed file name.
#include "monitor/job_status.h"

#include <gtest/gtest.h>

#include <string>

#include "monitor/file_names.h"
#include "platform/host/kernel/profile.h"
#include "tests/unit/support/fake_locale.h"

namespace plumeta {
namespace {

TEST(StatusWordsTest, OneWordPerLowBitInFixedOrder) {
  const struct {
    std::uint32_t status;
    const char* words;
  } kRows[] = {
      {0x00, ""},
      {0x01, "Paused "},
      {0x02, "Error "},
      {0x04, "Deleting "},
      {0x08, "Spooling "},
      {0x10, "Printing "},
      {0x20, "Offline "},
      {0x40, "Paperout "},
      {0x80, "Printed "},
      {0x03, "Error Paused "},
      {0xFF,
       "Error Paused Deleting Spooling Printing Offline Paperout Printed "},
      {0x100, ""},
      {0xFFFFFF00, ""},
      {0x00001010, "Printing "},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.status);
    EXPECT_EQ(StatusWords(row.status), row.words);
  }
}

TEST(SizeTextTest, KilobytesOfAThousandBytesWithTheUsersSeparator) {
  const struct {
    std::uint32_t size;
    const char* separator;
    const char* text;
  } kRows[] = {
      {0, ".", "      0.00 KB"},
      {1536, ".", "      1.54 KB"},
      {1536, ",", "      1,54 KB"},
      {1535, ".", "      1.54 KB"},  // 1.535 rounds up
      {1534, ".", "      1.53 KB"},
      {999999, ".", "   1000.00 KB"},
      {4294967295u, ".", "4294967.30 KB"},
      {4294967295u, ",", "4294967,30 KB"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::to_string(row.size) + row.separator);
    EXPECT_EQ(SizeText(row.size, row.separator), row.text);
  }
}

TEST(StartAtTextTest, TheSpoolersTimeInTheUsersFormats) {
  const platform::SystemTime kMay1{2024, 5, 3, 1, 12, 30, 5, 250};
  const platform::SystemTime kMorning{2024, 12, 0, 31, 0, 7, 9, 0};
  const struct {
    const char* name;
    platform::SystemTime time;
    const char* date;
    const char* time_picture;
    const char* text;
  } kRows[] = {
      {"US", kMay1, "M/d/yyyy", "h:mm:ss tt", "5/1/2024 12:30:05 PM"},
      {"US midnight hour", kMorning, "M/d/yyyy", "h:mm:ss tt",
       "12/31/2024 12:07:09 AM"},
      {"German", kMay1, "dd.MM.yyyy", "HH:mm:ss", "01.05.2024 12:30:05"},
      {"quoted and names", kMay1, "ddd', 'd MMM yy", "H'h'mm",
       "Wed, 1 May 24 12h30"},
      {"no date at all", platform::SystemTime{}, "M/d/yyyy", "h:mm:ss tt", ""},
      {"February 30th", {2023, 2, 0, 30, 1, 2, 3, 0}, "M/d/yyyy", "HH:mm", ""},
      {"hour 24", {2023, 2, 0, 3, 24, 0, 0, 0}, "M/d/yyyy", "HH:mm", ""},
  };
  testing::FakeLocale locale;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(StartAtText(row.time, locale, row.date, row.time_picture),
              row.text);
  }
}

TEST(ProposedFileNameTest, CharactersWindowsRefusesBecomeUnderscores) {
  const struct {
    std::string document;
    std::string name;
    bool double_byte = false;  // the user's code page is Shift JIS
  } kRows[] = {
      {"Letter", "Letter.PDF"},
      // Shift JIS characters whose second byte is 5C or 7C, the codes of '\'
      // and '|', stay whole; a '\' or a lead byte standing alone does not.
      {"\x95\x5C\x83\x5C\x83\x7C.txt", "\x95\x5C\x83\x5C\x83\x7C.txt.PDF",
       true},
      {"a\\\x95\x5C/b", "a_\x95\x5C_b.PDF", true},
      {"end\x95", "end\x95.PDF", true},
      {"\x95\x5C", "\x95_.PDF"},
      {"https://example.com/a?b", "https___example.com_a_b.PDF"},
      {"Report: Q1/Q2", "Report_ Q1_Q2.PDF"},
      {"a\\b*c\"d<e>f|g", "a_b_c_d_e_f_g.PDF"},
      {"tab\there\r\n", "tab_here__.PDF"},
      {"Caf\xE9 (draft) #1 & 100% ~ok.txt",
       "Caf\xE9 (draft) #1 & 100% ~ok.txt.PDF"},
      {"", ".PDF"},
      // Cut so that the path fits in the folder the dialog opens; never
      // inside a two-byte character.
      {std::string(300, 'x'), std::string(124, 'x') + ".PDF"},
      {std::string(123, 'x') + "\x95\x5C", std::string(123, 'x') + ".PDF",
       true},
      {std::string(122, 'x') + "\x95\x5C",
       std::string(122, 'x') + "\x95\x5C.PDF", true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.document);
    testing::FakeLocale locale;
    locale.double_byte = row.double_byte;
    EXPECT_EQ(ProposedFileName(row.document, locale), row.name);
  }
}

TEST(HostProfileTest, SetsAKeyInPlaceAtTheSectionsEndOrInANewSection) {
  const struct {
    const char* name;
    const char* ini;
    const char* result;
  } kRows[] = {
      {"empty file", "", "[windows]\r\ndevice=P,,\r\n"},
      {"key replaced, any case",
       "[Windows]\r\nload=\r\nDevice=Old,winspool,LPT1:\r\n[ports]\r\n",
       "[Windows]\r\nload=\r\ndevice=P,,\r\n[ports]\r\n"},
      {"key added before the blank line ending the section",
       "[windows]\r\nload=\r\n\r\n[ports]\r\n",
       "[windows]\r\nload=\r\ndevice=P,,\r\n\r\n[ports]\r\n"},
      {"section added", "[ports]\r\nLPT1:=\r\n",
       "[ports]\r\nLPT1:=\r\n[windows]\r\ndevice=P,,\r\n"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(host::SetProfileString(row.ini, "windows", "device", "P,,"),
              row.result);
  }
}

}  // namespace
}  // namespace plumeta
