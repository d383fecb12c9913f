// Two users of one box, each with a monitor on the printer: the box's own
// user and Bob (PLUMETA_USER). They print in turn, each after switching to
// the front, and at once; nobody's folder or dialogs ever hold the other's
// document.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/host/box/box_user.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/road_box.h"
#include "tests/support/wait_until.h"

namespace plumeta {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;
using testing::ConsoleProgram;
using testing::RoadBox;
using testing::WaitUntil;

constexpr char kArgumentFile[] = "C:\\WINDOWS\\system32\\plum.rsp";

// A one-page document that says `text`.
std::string Document(const std::string& text) {
  return "%!PS\n/Helvetica findfont 24 scalefont setfont 72 700 moveto\n(" +
         text + ") show showpage\n";
}

struct User {
  std::string name;  // empty: the box's own
  std::string last_result;
  std::unique_ptr<ConsoleProgram> monitor;
  std::unique_ptr<std::thread> printing;
};

class UsersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_.InstallPrinter();
    fs::create_directories(box_.Linux("C:\\Out"));
    me_.last_result = "C:\\Users\\User\\AppData\\Local\\Temp\\1024.pdf";
    bob_.name = "Bob";
    bob_.last_result = "C:\\Users\\Bob\\AppData\\Local\\Temp\\1024.pdf";
    for (User* user : {&me_, &bob_}) {
      user->monitor = std::make_unique<ConsoleProgram>(
          PLUMETA_PATH, std::vector<std::string>{}, Environment(*user));
      ASSERT_TRUE(ArgumentFileNames(*user));
      Seen(*user);  // its start-up, and so its writing of the file, is over
    }
  }
  void TearDown() override {
    for (User* user : {&me_, &bob_}) {
      if (user->printing) user->printing->join();
    }
  }

  std::map<std::string, std::string> Environment(const User& user) {
    auto environment = box_.Environment();
    if (!user.name.empty()) environment[host::kUserVariable] = user.name;
    return environment;
  }
  bool ArgumentFileNames(const User& user) {
    return WaitUntil([&] {
      return testing::ReadText(box_.Linux(kArgumentFile))
                 .find("-sOutputFile=" + user.last_result + "\r\n") !=
             std::string::npos;
    });
  }
  void ComeToTheFront(User& user) {
    user.monitor->Send("session console-connect");
    ASSERT_TRUE(ArgumentFileNames(user));
  }
  void Print(User& user, const std::string& document) {
    user.printing = std::make_unique<std::thread>(
        [this, environment = Environment(user), document] {
          testing::RunProgram(PLUMPRINT_PATH, {"--document", document, "-"},
                              environment, Document(document));
        });
  }
  void AnswerSave(User& user, const std::string& document,
                  const std::string& target) {
    auto save = user.monitor->WaitFor("save", seconds(20));
    ASSERT_TRUE(save) << "no save dialog for " << document;
    EXPECT_EQ((*save)[1], document + ".PDF");
    user.monitor->Send("ok " + target);
  }
  void Finish(User& user) {
    user.printing->join();
    user.printing.reset();
  }
  std::string Text(const std::string& windows_path) {
    return testing::PdfText(box_.Linux(windows_path));
  }
  // Every event of the monitor so far: its save dialogs and messages.
  std::string Seen(User& user) {
    user.monitor->Send("rclick");
    EXPECT_TRUE(user.monitor->WaitFor("menu", seconds(5)));
    user.monitor->Send("cancel");
    std::string all;
    for (const std::string& line : user.monitor->seen) all += line + "\n";
    return all;
  }

  RoadBox box_;
  User me_;
  User bob_;
};

TEST_F(UsersTest, TwoUsersPrintInTurnAndAtOnceAndNeitherSeesTheOthers) {
  // In turn: each user at the front gets their own PDF.
  ComeToTheFront(me_);
  Print(me_, "Mine");
  AnswerSave(me_, "Mine", "C:\\Out\\mine.pdf");
  ASSERT_TRUE(WaitUntil([&] { return !Text("C:\\Out\\mine.pdf").empty(); },
                        seconds(20)));
  Finish(me_);
  ComeToTheFront(bob_);
  Print(bob_, "Bobs");
  AnswerSave(bob_, "Bobs", "C:\\Out\\bobs.pdf");
  ASSERT_TRUE(WaitUntil([&] { return !Text("C:\\Out\\bobs.pdf").empty(); },
                        seconds(20)));
  Finish(bob_);
  EXPECT_NE(Text("C:\\Out\\mine.pdf").find("Mine"), std::string::npos);
  EXPECT_NE(Text("C:\\Out\\bobs.pdf").find("Bobs"), std::string::npos);

  // At once, with Bob at the front: the PDF of my job goes to Bob's folder,
  // where Bob's monitor deletes it unseen, and I am told why.
  Print(me_, "Mine again");
  Print(bob_, "Bobs again");
  AnswerSave(me_, "Mine again", "C:\\Out\\mine2.pdf");
  AnswerSave(bob_, "Bobs again", "C:\\Out\\bobs2.pdf");
  auto message = me_.monitor->WaitFor("message", seconds(20));
  ASSERT_TRUE(message);
  EXPECT_EQ((*message)[2],
            "The PDF for 'Mine again' went to another user's folder: Plumeta "
            "serves one user at a time, the one in front of the computer.");
  me_.monitor->Send("ok");
  Finish(me_);
  Finish(bob_);
  ASSERT_TRUE(WaitUntil(
      [&] { return !fs::exists(box_.Linux(bob_.last_result)); }, seconds(10)));
  EXPECT_FALSE(fs::exists(box_.Linux("C:\\Out\\mine2.pdf")));
  // Bob's own job gets its PDF, or (when both jobs left between two of its
  // looks at the queue) an honest "not created", never mine.
  if (!WaitUntil([&] { return !Text("C:\\Out\\bobs2.pdf").empty(); },
                 seconds(10))) {
    auto not_created = bob_.monitor->WaitFor("message", seconds(5));
    ASSERT_TRUE(not_created);
    EXPECT_EQ((*not_created)[2], "The PDF for 'Bobs again' was not created.");
    bob_.monitor->Send("ok");
  }
  EXPECT_EQ(Text("C:\\Out\\bobs2.pdf").find("Mine"), std::string::npos);

  const std::string mine = Seen(me_);
  const std::string bobs = Seen(bob_);
  EXPECT_EQ(mine.find("Bobs"), std::string::npos);
  EXPECT_EQ(bobs.find("Mine"), std::string::npos);
  EXPECT_FALSE(fs::exists(box_.Linux(me_.last_result)));
}

}  // namespace
}  // namespace plumeta
