#include <gtest/gtest.h>

#include <sstream>

#include "platform/host/console_events.h"
#include "platform/host/console_user_interface.h"

namespace plumeta::host {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

TEST(ConsoleEventsTest, FieldsAreEscapedToStayOnOneLine) {
  const struct {
    const char* text;
    const char* escaped;
  } kRows[] = {
      {"plain", "plain"},
      {"C:\\Temp\\1024.pdf", "C:\\\\Temp\\\\1024.pdf"},
      {"a\tb", "a\\tb"},
      {"line\r\nnext", "line\\r\\nnext"},
      {"\\t is not a tab", "\\\\t is not a tab"},
      {"", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(EscapeEventField(row.text), row.escaped);
    EXPECT_EQ(UnescapeEventField(row.escaped), row.text);
  }
  EXPECT_EQ(UnescapeEventField("\\x\\"), "\\x\\");

  std::string line = EventLine("save", {"1024.pdf", "PDF\t*.pdf", ""});
  EXPECT_EQ(line, "save\t1024.pdf\tPDF\\t*.pdf\t");
  EXPECT_EQ(SplitEventLine(line),
            (std::vector<std::string>{"save", "1024.pdf", "PDF\t*.pdf", ""}));
}

TEST(ConsoleUserInterfaceTest, AMessageBoxIsOneEventAndOneAnswer) {
  std::istringstream input("yes\n");
  std::ostringstream events;
  std::ostringstream errors;
  ConsoleUserInterface ui(input, events, errors);
  EXPECT_EQ(ui.MessageBox("Do you really want to quit?\nReally?", "Warning",
                          MessageButtons::kYesNo, MessageIcon::kNone, true),
            MessageResult::kYes);
  EXPECT_EQ(events.str(),
            "message\tWarning\tDo you really want to quit?\\nReally?\tyesno\t"
            "none\n");
  EXPECT_EQ(errors.str(), "");
}

TEST(ConsoleUserInterfaceTest, AnswersTheBoxHasAndEndOfInputAsWindowsCloses) {
  const struct {
    MessageButtons buttons;
    MessageIcon icon;
    const char* input;
    MessageResult result;
    const char* event_end;
    bool refused;
  } kRows[] = {
      {MessageButtons::kOk, MessageIcon::kError, "ok\n", MessageResult::kOk,
       "\tok\terror\n", false},
      {MessageButtons::kOk, MessageIcon::kInformation, "", MessageResult::kOk,
       "\tok\tinformation\n", false},
      {MessageButtons::kOk, MessageIcon::kNone, "yes\nok\n", MessageResult::kOk,
       "\tok\tnone\n", true},
      {MessageButtons::kOkCancel, MessageIcon::kWarning, " cancel \r\n",
       MessageResult::kCancel, "\tokcancel\twarning\n", false},
      {MessageButtons::kOkCancel, MessageIcon::kQuestion, "",
       MessageResult::kCancel, "\tokcancel\tquestion\n", false},
      {MessageButtons::kYesNo, MessageIcon::kQuestion, "no\n",
       MessageResult::kNo, "\tyesno\tquestion\n", false},
      {MessageButtons::kYesNo, MessageIcon::kNone, "cancel\n",
       MessageResult::kNo, "\tyesno\tnone\n", true},
      {MessageButtons::kYesNoCancel, MessageIcon::kNone, "maybe\ncancel\n",
       MessageResult::kCancel, "\tyesnocancel\tnone\n", true},
      {MessageButtons::kYesNoCancel, MessageIcon::kNone, "",
       MessageResult::kCancel, "\tyesnocancel\tnone\n", false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.event_end + std::string(" <- ") + row.input);
    std::istringstream input(row.input);
    std::ostringstream events;
    std::ostringstream errors;
    ConsoleUserInterface ui(input, events, errors);
    EXPECT_EQ(ui.MessageBox("text", "caption", row.buttons, row.icon, false),
              row.result);
    EXPECT_EQ(events.str(),
              std::string("message\tcaption\ttext") + row.event_end);
    EXPECT_EQ(errors.str().empty(), !row.refused) << errors.str();
  }
}

}  // namespace
}  // namespace plumeta::host
