// A saved window position is kept exactly while a useful part of the
// window's caption lies on a screen; any other is brought into view.
#include "app/window_place.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 330;
constexpr int kCaption = 30;
constexpr int kUseful = 100;
// A 1920 x 1040 work area and a second one to its right, lower down.
const std::vector<ScreenArea> kTwoScreens{{0, 0, 1920, 1040}, {1920, 200, 3200, 1160}};

ScreenPoint Place(int x, int y, const std::vector<ScreenArea>& areas = kTwoScreens) {
    return PositionInView({x, y}, {kWidth, kHeight, kCaption, kUseful}, areas);
}

bool operator==(ScreenPoint a, ScreenPoint b) { return a.x == b.x && a.y == b.y; }

TEST(WindowPlace, AUsefulPartOfTheCaptionOnAScreenKeepsThePositionExactly) {
    // 100 pixels of the caption at the left, the right and the second
    // screen's bottom edge; its upper half hidden.
    for (ScreenPoint p :
         {ScreenPoint{192, 107}, ScreenPoint{0, 0}, ScreenPoint{-30, 40}, ScreenPoint{-500, 500},
          ScreenPoint{1820, 100}, ScreenPoint{3100, 1130}, ScreenPoint{100, -15}}) {
        EXPECT_TRUE(Place(p.x, p.y) == p) << p.x << ", " << p.y;
    }
}

TEST(WindowPlace, ACaptionOutOfReachMovesTheFrameIntoView) {
    EXPECT_TRUE(Place(-599, -329) == (ScreenPoint{0, 0})) << "only a corner on the screen";
    EXPECT_TRUE(Place(100, -16) == (ScreenPoint{100, 0})) << "less than half the caption";
    EXPECT_TRUE(Place(-501, 500) == (ScreenPoint{0, 500})) << "a sliver of the caption";
    // Near the second screen's bottom edge and a pixel beside the first: into
    // the screen it overlaps, the nearer one.
    EXPECT_TRUE(Place(1919, 1150) == (ScreenPoint{1920, 830}));
    // Across both screens' edge, its caption above the second: into the one
    // it overlaps most.
    EXPECT_TRUE(Place(1870, 150) == (ScreenPoint{1920, 200}));
    // Half of an odd caption is rounded up: 16 of 31 rows.
    const FrameShape odd{kWidth, kHeight, 31, kUseful};
    EXPECT_TRUE(PositionInView({100, -15}, odd, kTwoScreens) == (ScreenPoint{100, -15}));
    EXPECT_TRUE(PositionInView({100, -16}, odd, kTwoScreens) == (ScreenPoint{100, 0}));
}

TEST(WindowPlace, AFrameOnNoScreenMovesWhollyIntoTheNearestWorkArea) {
    // Just past an edge (touching is no overlap) and far off.
    EXPECT_TRUE(Place(-600, 100) == (ScreenPoint{0, 100}));
    EXPECT_TRUE(Place(100, -330) == (ScreenPoint{100, 0}));
    EXPECT_TRUE(Place(5000, 900) == (ScreenPoint{2600, 830}));
    EXPECT_TRUE(Place(1000, 1100) == (ScreenPoint{1000, 710}));
    EXPECT_TRUE(Place(INT_MIN, INT_MIN) == (ScreenPoint{0, 0}));
    EXPECT_TRUE(Place(INT_MAX, INT_MAX) == (ScreenPoint{2600, 830}));
}

TEST(WindowPlace, TheNearestWorkAreaIsNearestInAStraightLine) {
    // The frame (1300, 1300)-(1900, 1630) lies 300 across and 300 down from
    // the first area (424 in a straight line) and 500 across from the second:
    // nearer the first, though the second is nearer by dx + dy.
    const std::vector<ScreenArea> apart{{0, 0, 1000, 1000}, {2400, 1000, 3400, 2000}};
    EXPECT_TRUE(Place(1300, 1300, apart) == (ScreenPoint{400, 670}));
}

TEST(WindowPlace, AWorkAreaSmallerThanTheFrameTakesItsTopLeftCorner) {
    const std::vector<ScreenArea> small{{0, 0, 400, 200}};
    EXPECT_TRUE(Place(-2000, 5000, small) == (ScreenPoint{0, 0}));
    EXPECT_TRUE(Place(-2000, 5000, {}) == (ScreenPoint{-2000, 5000})) << "no screens known";
}

}  // namespace
