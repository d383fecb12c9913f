#include "widgets/balloon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/support/fake_application.h"
#include "tests/unit/support/widget_fakes.h"

namespace plumeta::widgets {
namespace {

using platform::Point;
using platform::Rect;
using testing::CallLog;
using testing::FakeApplication;
using testing::FakeBalloonWindows;

// Labels of 70 x 13 (title) and 120 x 26 (two lines of text): the window is
// max(34 + 70, 10 + 120) + 10 = 140 wide.
TEST(BalloonLayoutTest, PlacesTheTipOnThePointInEveryPosition) {
  struct Row {
    TBalloonPosition position;
    Rect window;
    Rect body;
    std::array<Point, 3> pointer;
    Point picture;
    Point title;
    Point text;
  };
  const int x = 1190;
  const int y = 999;
  const Row rows[] = {
      // Body above: text at 12 + 13 + 8 = 33, height 33 + 26 + 10 + 20 = 89.
      {blnArrowTopLeft,
       {1070, 910, 1210, 999},
       {0, 0, 140, 71},
       {{{100, 69}, {120, 89}, {120, 69}}},
       {10, 10},
       {34, 12},
       {10, 33}},
      {blnArrowTopRight,
       {1170, 910, 1310, 999},
       {0, 0, 140, 71},
       {{{20, 69}, {20, 89}, {40, 69}}},
       {10, 10},
       {34, 12},
       {10, 33}},
      // Body below: everything 20 lower, height 53 + 26 + 10 = 89.
      {blnArrowBottomLeft,
       {1070, 997, 1210, 1086},
       {0, 22, 140, 89},
       {{{120, 2}, {120, 22}, {100, 22}}},
       {10, 30},
       {34, 32},
       {10, 53}},
      {blnArrowBottomRight,
       {1170, 997, 1310, 1086},
       {0, 22, 140, 89},
       {{{20, 2}, {20, 22}, {40, 22}}},
       {10, 30},
       {34, 32},
       {10, 53}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "position " << row.position);
    platform::BalloonWindowLayout layout =
        LayOutBalloon(x, y, row.position, {70, 13}, {120, 26});
    EXPECT_EQ(layout.window, row.window);
    EXPECT_EQ(layout.body, row.body);
    EXPECT_EQ(layout.pointer, row.pointer);
    EXPECT_EQ(layout.picture, row.picture);
    EXPECT_EQ(layout.title_position, row.title);
    EXPECT_EQ(layout.text_position, row.text);
    EXPECT_EQ(layout.tip, (Point{x, y}));
    // The pointer's tip vertex, in screen coordinates, is the point.
    const Point tip = row.position <= blnArrowTopRight ? layout.pointer[1]
                                                       : layout.pointer[0];
    EXPECT_EQ(layout.window.left + tip.x, x);
    EXPECT_EQ(layout.window.top + tip.y, y);
  }
}

TEST(BalloonLayoutTest, BottomRightAt100x100StartsAt80x98) {
  platform::BalloonWindowLayout layout =
      LayOutBalloon(100, 100, blnArrowBottomRight, {50, 13}, {50, 13});
  EXPECT_EQ(layout.window.left, 80);
  EXPECT_EQ(layout.window.top, 98);
}

TEST(BalloonTextTest, LinesAreJoinedWithCrLfAndTrimmed) {
  struct Row {
    const char* name;
    std::vector<std::string> lines;
    std::string expected;
  };
  const Row rows[] = {
      {"two lines", {"Welcome", "Right-click"}, "Welcome\r\nRight-click"},
      {"trailing empty line", {"a", "b", ""}, "a\r\nb"},
      {"blanks and control characters at both ends",
       {" \t a", "b \x01"},
       "a\r\nb"},
      {"inner blanks stay", {"a  b", "", "c"}, "a  b\r\n\r\nc"},
      {"no lines", {}, ""},
      {"only empty lines", {"", ""}, ""},
      {"characters above 127 are not blanks", {"\xA0x\xA0"}, "\xA0x\xA0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(JoinBalloonText(row.lines), row.expected);
  }
}

TEST(BalloonTextTest, PictureByType) {
  EXPECT_EQ(BalloonPictureName(blnInfo), "INFO");
  EXPECT_EQ(BalloonPictureName(blnError), "ERROR");
  EXPECT_EQ(BalloonPictureName(blnWarning), "WARNING");
  EXPECT_EQ(BalloonPictureName(static_cast<TBalloonType>(7)), "INFO");
}

class BalloonControlTest : public ::testing::Test {
 protected:
  BalloonControlTest() {
    control_.SetTitle("Plumeta");
    control_.SetPixelCoordinateX(1190);
    control_.SetPixelCoordinateY(999);
  }
  ~BalloonControlTest() override { TBalloon::FreeAll(); }

  // Shows a balloon with `lines` and returns its layout.
  platform::BalloonWindowLayout Show(std::vector<std::string> lines) {
    control_.SetText(std::move(lines));
    control_.ShowBalloon();
    return windows_.shown.back().layout;
  }

  CallLog log_;
  FakeApplication app_{log_};
  FakeBalloonWindows windows_;
  TBalloonControl control_{app_, windows_};
};

TEST_F(BalloonControlTest, ShowsTheSettingsWithTheJoinedText) {
  control_.SetBalloonType(blnWarning);
  control_.SetDuration(6);
  platform::BalloonWindowLayout layout = Show(
      {"Welcome to Plumeta", "Right-click the happy icon to display the menu"});
  EXPECT_EQ(layout.title, "Plumeta");
  EXPECT_EQ(layout.text,
            "Welcome to Plumeta\r\nRight-click the happy icon to display the "
            "menu");
  EXPECT_EQ(layout.picture_name, "WARNING");
  EXPECT_EQ(layout.duration_seconds, 6);
  EXPECT_EQ(layout.tip, (Point{1190, 999}));
  // 46 characters of 6 pixels: the text sets the width.
  EXPECT_EQ(layout.window.Width(), 10 + 46 * 6 + 10);
}

TEST_F(BalloonControlTest, HeightFollowsTheTextLines) {
  const int one = Show({"one"}).window.Height();
  const int three = Show({"one", "two", "three"}).window.Height();
  const int trailing = Show({"one", "two", "three", ""}).window.Height();
  const int empty = Show({}).window.Height();
  EXPECT_EQ(three, one + 2 * 13);
  EXPECT_EQ(trailing, three) << "the text is trimmed";
  EXPECT_EQ(empty, one) << "an empty label keeps one line";
  // Title at 12, 13 high; text 8 below; margin 10; pointer 20.
  EXPECT_EQ(one, 12 + 13 + 8 + 13 + 10 + 20);
}

TEST_F(BalloonControlTest, AWideTitleSetsTheWidth) {
  control_.SetTitle("A title much wider than the text");  // 32 bold chars
  EXPECT_EQ(Show({"short"}).window.Width(), 34 + 32 * 7 + 10);
}

TEST_F(BalloonControlTest, AccessKeyAmpersandsTakeNoRoom) {
  control_.SetTitle("&Plumeta");
  const int with = Show({"Save && close"}).window.Width();
  control_.SetTitle("Plumeta");
  const int without = Show({"Save & close"}).window.Width();
  EXPECT_EQ(with, without);
}

TEST_F(BalloonControlTest, TheTimerClosesTheBalloonAndTheLoopFreesIt) {
  control_.SetDuration(20);
  Show({"Creating Adobe PDF ..."});
  ASSERT_EQ(TBalloon::Live().size(), 1u);
  EXPECT_EQ(app_.OnlyTimerInterval(), 20000u);

  app_.FireTimers(20000);
  EXPECT_TRUE(TBalloon::Live()[0]->Closed());
  EXPECT_TRUE(*windows_.shown[0].alive) << "not inside the tick";
  EXPECT_TRUE(app_.timers.empty());

  app_.RunPosted();
  EXPECT_FALSE(*windows_.shown[0].alive);
  EXPECT_TRUE(TBalloon::Live().empty());
}

TEST_F(BalloonControlTest, AClickClosesItAtOnce) {
  control_.SetDuration(20);
  Show({"x"});
  windows_.shown[0].on_click();
  windows_.shown[0].on_click();  // a second click before the loop runs
  app_.RunPosted();
  EXPECT_FALSE(*windows_.shown[0].alive);
  EXPECT_TRUE(TBalloon::Live().empty());
  EXPECT_TRUE(app_.timers.empty());
}

TEST_F(BalloonControlTest, DurationZeroStaysUntilClicked) {
  control_.SetDuration(0);
  Show({"x"});
  EXPECT_TRUE(app_.timers.empty());
  app_.RunPosted();
  EXPECT_EQ(TBalloon::Live().size(), 1u);
}

TEST_F(BalloonControlTest, TwoBalloonsCloseOnTheirOwnTimers) {
  control_.SetDuration(6);
  Show({"first"});
  control_.SetDuration(20);
  Show({"second"});
  EXPECT_EQ(windows_.shown[0].layout.tip, windows_.shown[1].layout.tip);

  app_.FireTimers(6000);
  app_.RunPosted();
  EXPECT_FALSE(*windows_.shown[0].alive);
  EXPECT_TRUE(*windows_.shown[1].alive);
  app_.FireTimers(20000);
  app_.RunPosted();
  EXPECT_FALSE(*windows_.shown[1].alive);
}

}  // namespace
}  // namespace plumeta::widgets
