// The host stand-ins behind the widgets: the tray and balloon events of the
// console, and the box's table of application windows that lets two host
// programs find each other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/console/balloon_windows.h"
#include "platform/host/console/notification_area.h"
#include "platform/host/console/top_level_windows.h"
#include "platform/window_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/unit/support/fake_application.h"
#include "widgets/balloon.h"
#include "widgets/prev_inst.h"
#include "widgets/tray_icon.h"

namespace plumeta::host {
namespace {

using testing::CallLog;
using ::testing::ElementsAre;
using testing::FakeApplication;

std::vector<std::string> Lines(const std::ostringstream& out) {
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

platform::NotifyIconRecord Icon(platform::WindowHandle window,
                                std::string tip) {
  platform::NotifyIconRecord record;
  record.size = 488;
  record.window = window;
  record.id = 7;
  record.flags = 7;
  record.callback_message = platform::kWmTrayIconCallback;
  record.tip = std::move(tip);
  return record;
}

TEST(HostNotificationAreaTest, ReportsTheCallsTheShellAccepts) {
  std::ostringstream out;
  HostNotificationArea area(out);
  auto window =
      area.CreateHiddenWindow([](std::uint32_t, std::uintptr_t, std::intptr_t) {
        return std::optional<std::intptr_t>();
      });
  platform::NotifyIconRecord record = Icon(window->Handle(), "Plumeta");

  EXPECT_FALSE(area.NotifyIcon(platform::NotifyOperation::kModify, record))
      << "not in the tray yet";
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kAdd, record));
  EXPECT_FALSE(area.NotifyIcon(platform::NotifyOperation::kAdd, record));
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kSetVersion, record));
  record.image_index = 3;
  record.tip = "Tab\there";
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kModify, record));
  EXPECT_TRUE(area.NotifyIcon(platform::NotifyOperation::kDelete, record));
  EXPECT_FALSE(area.NotifyIcon(platform::NotifyOperation::kDelete, record));

  EXPECT_THAT(Lines(out), ElementsAre("tray\tadd\t0\tPlumeta",
                                      "tray\tsetversion\t0\tPlumeta",
                                      "tray\tmodify\t3\tTab\\there",
                                      "tray\tdelete\t3\tTab\\there"));
}

TEST(HostNotificationAreaTest, ConsoleClicksReachTheIconAddedLast) {
  std::ostringstream out;
  HostNotificationArea area(out);
  std::vector<std::intptr_t> received;
  auto window = area.CreateHiddenWindow([&received](std::uint32_t message,
                                                    std::uintptr_t wparam,
                                                    std::intptr_t lparam) {
    EXPECT_EQ(message, 0x800u);
    EXPECT_EQ(wparam, 7u);
    received.push_back(lparam);
    return std::optional<std::intptr_t>(0);
  });
  EXPECT_FALSE(area.RightClick()) << "no icon in the tray";

  area.NotifyIcon(platform::NotifyOperation::kAdd, Icon(window->Handle(), ""));
  EXPECT_TRUE(area.RightClick());
  EXPECT_TRUE(area.DoubleClick());
  EXPECT_THAT(received, ElementsAre(0x204, 0x205, 0x203));

  const platform::WindowHandle handle = window->Handle();
  window.reset();
  EXPECT_EQ(area.Send(handle, 0x10, 0, 0), std::nullopt);
}

TEST(HostNotificationAreaTest, TrayIconOnTheConsole) {
  CallLog log;
  FakeApplication app(log);
  std::ostringstream out;
  HostNotificationArea area(out);
  widgets::TImageList images({"TRAY0", "TRAY1"});
  int double_clicks = 0;
  {
    widgets::TPlumTrayIcon icon(app, area, nullptr);
    icon.SetIconList(&images);
    icon.SetHint("Plumeta");
    icon.SetIconVisible(true);
    icon.SetOnDblClick(
        [&double_clicks](widgets::TPlumTrayIcon&) { ++double_clicks; });
    icon.Loaded();
    EXPECT_TRUE(area.DoubleClick());
    icon.SetIconVisible(false);
    EXPECT_FALSE(area.DoubleClick());
  }
  EXPECT_EQ(double_clicks, 1);
  EXPECT_THAT(Lines(out), ElementsAre("tray\tadd\t0\tPlumeta",
                                      "tray\tsetversion\t0\tPlumeta",
                                      "tray\tdelete\t0\tPlumeta"));
}

TEST(HostBalloonWindowsTest, LabelsHaveAFixedMetric) {
  struct Row {
    const char* text;
    bool bold;
    platform::Size expected;
  };
  const Row rows[] = {
      {"Plumeta", false, {42, 13}},
      {"Plumeta", true, {49, 13}},
      {"&Open", false, {24, 13}},
      {"Save && close", false, {72, 13}},
      {"one\r\nthree\r\ntwo", false, {30, 39}},
      {" ", false, {6, 13}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(FixedLabelSize(row.text, row.bold), row.expected);
  }
}

TEST(HostBalloonWindowsTest, WelcomeBalloonEvent) {
  CallLog log;
  FakeApplication app(log);
  std::ostringstream out;
  HostBalloonWindows windows(out);
  widgets::TBalloonControl control(app, windows);
  control.SetTitle("Plumeta");
  control.SetText(
      {"Welcome to Plumeta", "Right-click the happy icon to display the menu"});
  control.SetDuration(6);
  control.SetPixelCoordinateX(1024 - 90);
  control.SetPixelCoordinateY(768 - 25);

  control.ShowBalloon();
  widgets::TBalloon::FreeAll();

  // Width: 10 + 46 x 6 + 10; height: 12 + 13 + 8 + 2 x 13 + 10 + 20.
  EXPECT_THAT(Lines(out),
              ElementsAre("balloon\t934\t743\t658\t654\t296\t89\tPlumeta\t"
                          "Welcome to Plumeta\\r\\nRight-click the happy icon "
                          "to display the menu\tinfo\t6"));
}

class HostTopLevelWindowsTest : public ::testing::Test {
 protected:
  // Another program of the box: a child process with its own table entry
  // until the test lets it end.
  pid_t StartOtherProgram(const std::string& title) {
    int ready[2];
    int finish[2];
    if (::pipe(ready) != 0 || ::pipe(finish) != 0) return -1;
    pid_t child = ::fork();
    if (child == 0) {
      ::close(ready[0]);
      ::close(finish[1]);
      {
        HostTopLevelWindows windows(box_.path(), [title] { return title; });
        char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(finish[0], &byte, 1);
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(finish[0]);
    char byte;
    (void)!::read(ready[0], &byte, 1);
    ::close(ready[0]);
    finish_ = finish[1];
    return child;
  }

  void StopOtherProgram(pid_t child) {
    ::close(finish_);
    int status = 0;
    ::waitpid(child, &status, 0);
  }

  testing::TempFolder box_;
  int finish_ = -1;
  CallLog log_;
  FakeApplication app_{log_};
};

TEST_F(HostTopLevelWindowsTest, TwoProgramsOfTheBoxSeeEachOther) {
  HostTopLevelWindows windows(box_.path(), [] { return "Plumeta"; });
  widgets::TPrevInst guard(app_, windows);
  EXPECT_FALSE(guard.CheckPrevInst()) << "alone";

  pid_t other = StartOtherProgram("Plumeta");
  ASSERT_GT(other, 0);
  std::vector<platform::TopLevelWindow> seen = windows.EnumWindows();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].handle, static_cast<platform::WindowHandle>(other));
  EXPECT_EQ(seen[0].class_name, "TApplication");
  EXPECT_EQ(seen[0].title, "Plumeta");

  EXPECT_TRUE(guard.CheckPrevInst());
  EXPECT_TRUE(app_.terminated);
  EXPECT_THAT(log_.calls(), ElementsAre("app terminate"));

  StopOtherProgram(other);
  app_.terminated = false;
  EXPECT_FALSE(guard.CheckPrevInst()) << "the other program has ended";
  EXPECT_EQ(windows.EnumWindows().size(), 1u);
}

TEST_F(HostTopLevelWindowsTest, ADifferentTitleIsAnotherProgram) {
  HostTopLevelWindows windows(box_.path(), [] { return "Plumeta"; });
  widgets::TPrevInst guard(app_, windows);
  pid_t other = StartOtherProgram("Printer Setup");
  ASSERT_GT(other, 0);
  EXPECT_FALSE(guard.CheckPrevInst());
  StopOtherProgram(other);
}

TEST_F(HostTopLevelWindowsTest, LinesOfEndedProgramsAndTheOwnLineGo) {
  {
    std::ofstream table(box_ / "top_level_windows.txt");
    // A process id that no running program has (beyond pid_max).
    table << "99999999\tTApplication\tPlumeta\n";
  }
  {
    HostTopLevelWindows windows(box_.path(), [] { return "Plumeta"; });
    EXPECT_EQ(windows.EnumWindows().size(), 1u);
  }
  EXPECT_EQ(testing::ReadText(box_ / "top_level_windows.txt"), "");
}

}  // namespace
}  // namespace plumeta::host
