#include "common/errors.h"

#include <gtest/gtest.h>

#include "common/application_error.h"
#include "tests/unit/support/fake_user_interface.h"

namespace plumeta {
namespace {

TEST(InOutErrorTest, TextForEveryCode) {
  const struct {
    platform::ErrorCode code;
    const char* text;
  } kRows[] = {
      {2, "File not found"},        {3, "Invalid filename"},
      {4, "Too many open files"},   {5, "File access denied"},
      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"},   {32, "I/O error 32"},
      {0, "I/O error 0"},           {1, "I/O error 1"},
      {4294967295u, "I/O error 4294967295"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.code);
    InOutError error(row.code);
    EXPECT_STREQ(error.what(), row.text);
    EXPECT_EQ(error.code(), row.code);
  }
}

TEST(RegistryErrorTest, NamesTheValue) {
  EXPECT_STREQ(RegistryError::FailedToSetData("Plumeta").what(),
               "Failed to set data for 'Plumeta'");
  EXPECT_STREQ(RegistryError::InvalidDataType("Quality").what(),
               "Invalid data type for 'Quality'");
  // A value name that itself holds a format marker is taken literally.
  EXPECT_STREQ(RegistryError::FailedToSetData("%s%d").what(),
               "Failed to set data for '%s%d'");
}

TEST(OsErrorTest, CodeThenSystemTextOnANewLine) {
  const struct {
    platform::ErrorCode code;
    const char* system_message;
    const char* text;
  } kRows[] = {
      {5, "Access is denied.\r\n", "System Error.  Code: 5.\r\nAccess is denied"},
      {1801, "The printer name is invalid.  \r\n",
       "System Error.  Code: 1801.\r\nThe printer name is invalid"},
      {317, "", "System Error.  Code: 317.\r\n"},
      {0, "whatever", "A call to an OS function failed"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(OsError(row.code, row.system_message).what(),
              std::string(row.text));
  }
}

TEST(FullStopTest, AddedOnlyAfterCharactersSortingAfterTheFullStop) {
  const struct {
    const char* text;
    const char* shown;
  } kRows[] = {
      {"File access denied", "File access denied."},
      {"Failed to set data for 'Plumeta'", "Failed to set data for 'Plumeta'"},
      {"Done.", "Done."},
      {"ends in a dash -", "ends in a dash -"},
      {"ends in a slash /", "ends in a slash /."},
      {"ends in a digit 7", "ends in a digit 7."},
      {"ends in a bracket )", "ends in a bracket )"},
      {"ends in \xE9", "ends in \xE9."},  // bytes above 127 sort after "."
      {"", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(WithFullStop(row.text), row.shown);
  }
}

TEST(ErrorBoxTest, ShowsTheRaisedTextWithTheProgramTitle) {
  testing::FakeUserInterface ui;
  const bool completed = RunReportingErrors(ui, "Plumeta", [] {
    throw InOutError(5);
  });
  EXPECT_FALSE(completed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "File access denied.");
  EXPECT_EQ(ui.messages[0].caption, "Plumeta");
  EXPECT_EQ(ui.messages[0].buttons, platform::MessageButtons::kOk);
  EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::kError);
}

TEST(ErrorBoxTest, NothingShownWhenTheHandlerCompletes) {
  testing::FakeUserInterface ui;
  EXPECT_TRUE(RunReportingErrors(ui, "Printer Setup", [] {}));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace plumeta
