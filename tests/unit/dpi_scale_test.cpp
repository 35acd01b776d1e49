// The window's layout and its saved position at 125, 150, 175 and 200 %
// display scale: lengths rounded as MulDiv rounds (halves away from zero),
// font heights rounded down, and positions brought back to 96 dpi.
#include "util/dpi_scale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DpiScale, LengthsRoundToTheNearestPixelAndFontsDown) {
    // The 591 x 291 client area, a position of -7, fonts of 13 and 15 pixels.
    struct Expected {
        int dpi, width, height, negative, font, bannerFont;
    };
    for (const Expected& e :
         {Expected{120, 739, 364, -9, 16, 18}, Expected{144, 887, 437, -11, 19, 22},
          Expected{168, 1034, 509, -12, 22, 26}, Expected{192, 1182, 582, -14, 26, 30}}) {
        EXPECT_EQ(e.width, Dpi(e.dpi).Scale(591)) << e.dpi;
        EXPECT_EQ(e.height, Dpi(e.dpi).Scale(291)) << e.dpi;
        EXPECT_EQ(e.negative, Dpi(e.dpi).Scale(-7)) << e.dpi;
        EXPECT_EQ(e.font, Dpi(e.dpi).ScaleDown(13)) << e.dpi;
        EXPECT_EQ(e.bannerFont, Dpi(e.dpi).ScaleDown(15)) << e.dpi;
    }
}

TEST(DpiScale, PositionsGoBackTo96DpiRoundedAndSurviveTheRoundTrip) {
    EXPECT_EQ(120, Dpi(144).ToBase(180));
    EXPECT_EQ(121, Dpi(144).ToBase(181));  // 120.67
    EXPECT_EQ(81, Dpi(120).ToBase(101));   // 80.8
    EXPECT_EQ(11, Dpi(168).ToBase(19));    // 10.86
    EXPECT_EQ(-2, Dpi(192).ToBase(-3));    // -1.5: halves away from zero
    // A saved position comes back unchanged from a start and a close that
    // did not move the window.
    for (int dpi : {120, 144, 168, 192}) {
        for (int units = -3000; units <= 3000; ++units) {
            ASSERT_EQ(units, Dpi(dpi).ToBase(Dpi(dpi).Scale(units))) << units << " at " << dpi;
        }
    }
    // Far out positions stay in range; no resolution means 96 dpi.
    EXPECT_EQ(INT_MAX, Dpi(192).Scale(INT_MAX));
    EXPECT_EQ(INT_MIN / 2, Dpi(192).ToBase(INT_MIN));
    EXPECT_EQ(250, Dpi(0).ToBase(250));
    EXPECT_EQ(150, Dpi(144).From(100, Dpi(96)));  // a metric of a 96-dpi system
}

}  // namespace
