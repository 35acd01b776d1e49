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
        EXPECT_EQ(e.width, ScaleToDpi(591, e.dpi)) << e.dpi;
        EXPECT_EQ(e.height, ScaleToDpi(291, e.dpi)) << e.dpi;
        EXPECT_EQ(e.negative, ScaleToDpi(-7, e.dpi)) << e.dpi;
        EXPECT_EQ(e.font, ScaleDownToDpi(13, e.dpi)) << e.dpi;
        EXPECT_EQ(e.bannerFont, ScaleDownToDpi(15, e.dpi)) << e.dpi;
    }
}

TEST(DpiScale, PositionsGoBackTo96DpiRoundedAndSurviveTheRoundTrip) {
    EXPECT_EQ(120, ScaleToBase(180, 144));
    EXPECT_EQ(121, ScaleToBase(181, 144));  // 120.67
    EXPECT_EQ(81, ScaleToBase(101, 120));   // 80.8
    EXPECT_EQ(11, ScaleToBase(19, 168));    // 10.86
    EXPECT_EQ(-2, ScaleToBase(-3, 192));    // -1.5: halves away from zero
    // A saved position comes back unchanged from a start and a close that
    // did not move the window.
    for (int dpi : {120, 144, 168, 192}) {
        for (int units = -3000; units <= 3000; ++units) {
            ASSERT_EQ(units, ScaleToBase(ScaleToDpi(units, dpi), dpi)) << units << " at " << dpi;
        }
    }
    // Far out positions stay in range; no resolution means 96 dpi.
    EXPECT_EQ(INT_MAX, ScaleToDpi(INT_MAX, 192));
    EXPECT_EQ(INT_MIN / 2, ScaleToBase(INT_MIN, 192));
    EXPECT_EQ(250, ScaleToBase(250, 0));
}

}  // namespace
