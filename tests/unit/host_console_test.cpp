// The host console user interface: one reader of standard input handing
// lines to open dialogs or to commands, with the message loop running.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "platform/host/console/application.h"
#include "platform/host/console/console.h"
#include "platform/host/console/console_events.h"
#include "platform/host/console/console_user_interface.h"
#include "platform/host/console/dialogs.h"
#include "platform/host/console/forms.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

platform::MenuItemView Item(const std::string& name,
                            const std::string& caption) {
  platform::MenuItemView item;
  item.name = name;
  item.caption = caption;
  return item;
}

platform::ControlDescription Control(platform::ControlKind kind,
                                     const std::string& name) {
  platform::ControlDescription control;
  control.kind = kind;
  control.name = name;
  return control;
}

// A console whose standard input is a pipe the test writes to.
class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    read_end_ = ends[0];
    write_end_ = ends[1];
    console_ = std::make_unique<Console>(read_end_, events_, errors_);
    application_ =
        std::make_unique<HostApplication>(*console_, platform::Size{800, 600});
  }
  ~ConsoleTest() override {
    ::close(read_end_);
    if (write_end_ >= 0) ::close(write_end_);
  }
  void Type(const std::string& text) {
    ASSERT_EQ(::write(write_end_, text.data(), text.size()),
              static_cast<ssize_t>(text.size()));
  }
  void EndInput() {
    ::close(write_end_);
    write_end_ = -1;
  }
  std::vector<std::string> EventLines() {
    std::vector<std::string> lines;
    std::istringstream in(events_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  int read_end_ = -1;
  int write_end_ = -1;
  std::ostringstream events_;
  std::ostringstream errors_;
  std::unique_ptr<Console> console_;
  std::unique_ptr<HostApplication> application_;
  // A box for the save dialog, with the profile folder it shows.
  testing::TempFolder box_;
  std::shared_ptr<BoxProcess> process_ = [this] {
    SystemFacts facts;
    facts.SetEnvironment("USERPROFILE", "C:\\Documents and Settings\\User");
    return std::make_shared<BoxProcess>(box_.path(), facts);
  }();
};

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

TEST(ParseConsoleCommandTest, KeywordAndTheRest) {
  const auto command = ParseConsoleCommand("ok two  words \r");
  EXPECT_EQ(command.keyword, "ok");
  EXPECT_EQ(command.argument, "two  words ");
  EXPECT_EQ(ParseConsoleCommand("close").argument, "");
}

TEST_F(ConsoleTest, InputBoxAnswers) {
  HostDialogs dialogs(*application_, process_);
  const struct {
    const char* typed;
    const char* result;
  } kRows[] = {
      {"ok secret\n", "secret"},
      {"ok two words\n", "two words"},
      {"ok\n", ""},
      {"cancel\n", "initial"},
      {"yes\nok x\n", "x"},  // not an answer here: refused, the box waits
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.typed);
    Type(row.typed);
    EXPECT_EQ(dialogs.InputBox("Caption", "Prompt: ", "initial"), row.result);
  }
  EXPECT_EQ(EventLines()[0], "input\tCaption\tPrompt: \tinitial");
  EXPECT_NE(errors_.str().find("refused: yes"), std::string::npos);
  Type("ok " + std::string(300, 'x') + "\n");
  EXPECT_EQ(dialogs.InputBox("C", "P", "").size(), 255u);
}

TEST_F(ConsoleTest, LinesAfterAnAnswerWaitForTheirTurn) {
  HostDialogs dialogs(*application_, process_);
  std::vector<std::string> clicks;
  console_->RegisterCommand("click", [&](const std::string& name) {
    clicks.push_back(name);
    if (name == "Ask") clicks.push_back(dialogs.InputBox("C", "P", ""));
  });
  Type("click Ask\nok typed\nclick After\n");
  application_->ProcessMessages();
  application_->WaitForMessages(50);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Ask", "typed", "After"}));
  EXPECT_EQ(errors_.str(), "");
}

TEST_F(ConsoleTest, UnknownCommandsAreRefused) {
  Type("dance\n\n");
  application_->WaitForMessages(50);
  EXPECT_NE(errors_.str().find("refused: dance (unknown command)"),
            std::string::npos);
}

TEST_F(ConsoleTest, TimersTickWhileADialogWaits) {
  HostDialogs dialogs(*application_, process_);
  int ticks = 0;
  application_->SetTimer(10, [&] {
    if (++ticks == 3) Type("ok late\n");
  });
  EXPECT_EQ(dialogs.InputBox("C", "P", ""), "late");
  EXPECT_GE(ticks, 3);
}

TEST_F(ConsoleTest, EndOfInputCancelsEveryDialog) {
  EndInput();
  HostDialogs dialogs(*application_, process_);
  ConsoleUserInterface boxes(*application_);
  EXPECT_EQ(dialogs.InputBox("C", "P", "kept"), "kept");
  EXPECT_EQ(dialogs.SaveDialog({"a.PDF", "f", "*.PDF"}), std::nullopt);
  EXPECT_EQ(dialogs.TrackPopupMenu({Item("A1", "A")}, {1, 2}), "");
  EXPECT_EQ(boxes.MessageBox("t", "c", MessageButtons::kYesNo,
                             MessageIcon::kNone, true),
            MessageResult::kNo);
  EXPECT_EQ(boxes.MessageBox("t", "c", MessageButtons::kOkCancel,
                             MessageIcon::kNone, true),
            MessageResult::kCancel);
  EXPECT_EQ(boxes.MessageBox("t", "c", MessageButtons::kOk, MessageIcon::kError,
                             true),
            MessageResult::kOk);
  // The loop does not spin at the end of input: a wait takes its time.
  const auto start = std::chrono::steady_clock::now();
  application_->WaitForMessages(100);
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            std::chrono::milliseconds(90));
}

TEST_F(ConsoleTest, MessageBoxTakesOnlyItsOwnButtons) {
  ConsoleUserInterface boxes(*application_);
  Type("ok\nyes\n");
  EXPECT_EQ(boxes.MessageBox("Quit?", "Warning", MessageButtons::kYesNo,
                             MessageIcon::kNone, true),
            MessageResult::kYes);
  EXPECT_EQ(EventLines()[0], "message\tWarning\tQuit?\tyesno\tnone");
  EXPECT_NE(errors_.str().find("refused: ok"), std::string::npos);
}

// Each row on a console of its own whose whole input is `input`.
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
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string input = row.input;
    ASSERT_EQ(::write(ends[1], input.data(), input.size()),
              static_cast<ssize_t>(input.size()));
    ::close(ends[1]);
    std::ostringstream events;
    std::ostringstream errors;
    Console console(ends[0], events, errors);
    HostApplication application(console, {800, 600});
    ConsoleUserInterface ui(application);
    EXPECT_EQ(ui.MessageBox("text", "caption", row.buttons, row.icon, false),
              row.result);
    EXPECT_EQ(events.str(),
              std::string("message\tcaption\ttext") + row.event_end);
    EXPECT_EQ(errors.str().empty(), !row.refused) << errors.str();
    ::close(ends[0]);
  }
}

TEST_F(ConsoleTest, MenuListsItsItemsAndTakesAClick) {
  HostDialogs dialogs(*application_, process_);
  platform::MenuItemView quality = Item("Quality1", "PDF Quality");
  platform::MenuItemView item = Item("Default1", "Default");
  item.checked = true;
  item.radio = true;
  quality.items = {item};
  platform::MenuItemView hidden = Item("N6", "-");
  hidden.visible = false;
  platform::MenuItemView exit = Item("Exit2", "E&xit");
  Type("click Quality1\nclick N6\nclick Default1\n");
  EXPECT_EQ(dialogs.TrackPopupMenu({quality, hidden, exit}, {400, 300}),
            "Default1");
  EXPECT_EQ(EventLines(),
            (std::vector<std::string>{
                "menu\t400\t300", "item\t0\tQuality1\tPDF Quality\tsubmenu",
                "item\t1\tDefault1\tDefault\tchecked,radio",
                "item\t0\tExit2\tE&xit\t"}));
  Type("cancel\n");
  EXPECT_EQ(dialogs.TrackPopupMenu({exit}, {0, 0}), "");
}

TEST_F(ConsoleTest, SaveDialogAddsTheDefaultExtension) {
  HostDialogs dialogs(*application_, process_);
  Type("ok\nok C:\\out\\report\nok C:\\out.d\\x.pdf\ncancel\n");
  const platform::SaveDialogRequest request{
      "Doc.PDF", "Adobe PDF files (*.PDF)|*.PDF", "*.PDF"};
  EXPECT_EQ(dialogs.SaveDialog(request),
            "C:\\Documents and Settings\\User\\Doc.PDF");
  EXPECT_EQ(dialogs.SaveDialog(request), "C:\\out\\report.PDF");
  EXPECT_EQ(dialogs.SaveDialog(request), "C:\\out.d\\x.pdf");
  EXPECT_EQ(dialogs.SaveDialog(request), std::nullopt);
  EXPECT_EQ(EventLines()[0],
            "save\tDoc.PDF\tAdobe PDF files (*.PDF)|*.PDF\t*.PDF");
}

// As Windows' dialog: a full path in the folder it shows, or the name is
// refused and the dialog goes on waiting.
TEST_F(ConsoleTest, SaveDialogGivesFullPathsOrRefusesTheName) {
  std::filesystem::create_directories(
      box_.path() + "/drive_c/Documents and Settings/User/Sub");
  const struct {
    const char* proposed;
    const char* typed;
    const char* path;  // after a refusal, "ok C:\\kept" answers
    const char* refusal;
  } kRows[] = {
      {"Doc.PDF", "ok", "C:\\Documents and Settings\\User\\Doc.PDF", ""},
      {"Doc.PDF", "ok ..\\..\\..\\..\\x", "C:\\x.PDF", ""},
      {"Doc.PDF", "ok \\root", "C:\\root.PDF", ""},
      {"Doc.PDF", "ok D:name", "D:\\name.PDF", ""},
      {"C:\\Out\\Old.pdf", "ok New", "C:\\Out\\New.PDF", ""},
      {"C:\\Old.pdf", "ok", "C:\\Old.pdf", ""},
      {"Doc.PDF", "ok ...", "C:\\kept.PDF", "not a file name"},
      {"Doc.PDF", "ok ..\\", "C:\\kept.PDF", "not a file name"},
      {"", "ok", "C:\\kept.PDF", "not a file name"},
      {"Doc.PDF", "ok a?b", "C:\\kept.PDF", "not a file name"},
      {"Doc.PDF", "ok Sub", "C:\\kept.PDF", "a folder"},
      {"Doc.PDF", "ok C:\\Sub\\..\\Documents and Settings", "C:\\kept.PDF",
       "a folder"},
  };
  HostDialogs dialogs(*application_, process_);
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.typed);
    errors_.str("");
    const bool refused = *row.refusal != '\0';
    Type(std::string(row.typed) + (refused ? "\nok C:\\kept\n" : "\n"));
    EXPECT_EQ(dialogs.SaveDialog({row.proposed, "f", "*.PDF"}), row.path);
    EXPECT_EQ(errors_.str(), refused
                                 ? "refused: " + EscapeEventField(row.typed) +
                                       " (" + row.refusal + ")\n"
                                 : "");
  }
}

TEST_F(ConsoleTest, MainFormTakesButtonCloseAndClick) {
  HostForms forms(*console_);
  std::vector<std::string> seen;
  platform::FormDescription description;
  description.controls.push_back(
      Control(platform::ControlKind::kButton, "Button4"));
  platform::ControlDescription picture =
      Control(platform::ControlKind::kPicture, "Image2");
  picture.visible = false;
  picture.clickable = true;
  description.controls.push_back(picture);
  platform::FormEvents events;
  events.on_close = [&] { seen.push_back("close"); };
  events.on_click = [&](const std::string& name) { seen.push_back(name); };
  events.on_menu_item = [&](const std::string& name) {
    seen.push_back("item " + name);
    return name == "N6001";
  };
  auto window = forms.CreateForm(description, std::move(events));
  window->SetVisible(true);
  window->SetVisible(true);
  Type("button Button4\nbutton Image2\nclose\nclick N6001\nclick Nope\n");
  application_->WaitForMessages(50);
  window->SetControlVisible("Image2", true);
  Type("button Image2\n");
  application_->WaitForMessages(50);
  window->SetVisible(false);
  EXPECT_EQ(seen, (std::vector<std::string>{"Button4", "close", "item N6001",
                                            "item Nope", "Image2"}));
  EXPECT_EQ(EventLines(),
            (std::vector<std::string>{"window\tshown", "window\thidden"}));
  EXPECT_NE(errors_.str().find("refused: button Image2"), std::string::npos);
  EXPECT_NE(errors_.str().find("refused: click Nope"), std::string::npos);
}

}  // namespace
}  // namespace plumeta::host
