#include "widgets/prev_inst.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/widget_fakes.h"

namespace plumeta::widgets {
namespace {

using testing::CallLog;
using testing::FakeApplication;
using testing::FakeTopLevelWindows;

platform::TopLevelWindow Copy(platform::WindowHandle handle) {
  return {handle, "TApplication", "Plumeta"};
}

TEST(PrevInstTest, CountsCopiesByClassAndTitle) {
  struct Row {
    const char* name;
    int allowed;
    std::string own_title;
    std::vector<platform::TopLevelWindow> windows;
    bool expected;
    std::vector<std::string> expected_calls;
  };
  const platform::TopLevelWindow own = {1, "TApplication", "Plumeta"};
  const platform::TopLevelWindow own_untitled = {1, "TApplication", ""};
  const Row rows[] = {
      {"first start", 1, "Plumeta", {{7, "Shell_TrayWnd", ""}, own}, false, {}},
      {"second start brings the first forward",
       1,
       "Plumeta",
       {Copy(2), own},
       true,
       {"LastActivePopup 0x2", "BringWindowToTop 0x2",
        "SetForegroundWindow 0x2", "app terminate"}},
      {"other windows do not count",
       1,
       "Plumeta",
       {{2, "TApplication", "plumeta"},
        {3, "TForm", "Plumeta"},
        {4, std::nullopt, "Plumeta"},
        {5, "TApplication", std::nullopt},
        {6, "", "Plumeta"},
        own},
       false,
       {}},
      {"another program's window with the same class and title",
       1,
       "Plumeta",
       {own, {9, "TApplication", "Plumeta"}},
       true,
       {"LastActivePopup 0x9", "BringWindowToTop 0x9",
        "SetForegroundWindow 0x9", "app terminate"}},
      {"AllowedInst 2 lets a second copy run",
       2,
       "Plumeta",
       {Copy(2), own},
       false,
       {}},
      {"AllowedInst 2 ends the third, the last other copy comes forward",
       2,
       "Plumeta",
       {Copy(2), own, Copy(3)},
       true,
       {"LastActivePopup 0x3", "BringWindowToTop 0x3",
        "SetForegroundWindow 0x3", "app terminate"}},
      {"AllowedInst 0 ends every copy",
       0,
       "Plumeta",
       {own},
       true,
       {"app terminate"}},
      {"an empty own title never matches",
       1,
       "",
       {own_untitled, {2, "TApplication", ""}},
       false,
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CallLog log;
    FakeApplication app(log);
    FakeTopLevelWindows windows(log);
    windows.own = {1, "TApplication", row.own_title};
    windows.windows = row.windows;
    TPrevInst guard(app, windows);
    guard.SetAllowedInst(row.allowed);

    EXPECT_EQ(guard.CheckPrevInst(), row.expected);
    EXPECT_EQ(log.calls(), row.expected_calls);
    EXPECT_EQ(app.terminated, row.expected);
  }
}

TEST(PrevInstTest, RestoresTheOtherCopysMinimisedPopup) {
  CallLog log;
  FakeApplication app(log);
  FakeTopLevelWindows windows(log);
  windows.windows = {Copy(2), Copy(1)};
  windows.popups[2] = 0x77;
  windows.iconic = {0x77};
  TPrevInst guard(app, windows);

  EXPECT_TRUE(guard.CheckPrevInst());
  EXPECT_THAT(log.calls(), ::testing::ElementsAre(
                               "LastActivePopup 0x2", "BringWindowToTop 0x2",
                               "Restore 0x77", "app terminate"));
}

}  // namespace
}  // namespace plumeta::widgets
