// The window's layout and its saved position at 125, 150, 175 and 200 %
// display scale: lengths rounded as MulDiv rounds (halves away from zero),
// font heights rounded down, and positions brought back to 96 dpi.
#include "util/dpi_scale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int kDpis[] = {120, 144, 168, 192};

TEST(DpiScale, LengthsRoundToTheNearestPixelAndFontsDown) {
    struct Expected {
        int clientWidth, clientHeight, negative, font, bannerFont;
    };
    // 591 x 291 client pixels, a position of -7, fonts of 13 and 15 pixels.
    constexpr Expected kExpected[] = {{739, 364, -9, 16, 18},
                                      {887, 437, -11, 19, 22},
                                      {1034, 509, -12, 22, 26},
                                      {1182, 582, -14, 26, 30}};
    for (int i = 0; i < 4; ++i) {
        const int dpi = kDpis[i];
        SCOPED_TRACE(dpi);
        EXPECT_EQ(kExpected[i].clientWidth, ScaleToDpi(591, dpi));
        EXPECT_EQ(kExpected[i].clientHeight, ScaleToDpi(291, dpi));
        EXPECT_EQ(kExpected[i].negative, ScaleToDpi(-7, dpi));
        EXPECT_EQ(kExpected[i].font, ScaleDownToDpi(13, dpi));
        EXPECT_EQ(kExpected[i].bannerFont, ScaleDownToDpi(15, dpi));
        EXPECT_EQ(591, ScaleToDpi(591, 96));
    }
}

TEST(DpiScale, PositionsGoBackTo96DpiRoundedAndSurviveTheRoundTrip) {
    EXPECT_EQ(120, ScaleToBase(180, 144));
    EXPECT_EQ(100, ScaleToBase(150, 144));
    EXPECT_EQ(121, ScaleToBase(181, 144));  // 120.67
    EXPECT_EQ(81, ScaleToBase(101, 120));   // 80.8
    EXPECT_EQ(-2, ScaleToBase(-3, 192));    // -1.5: halves away from zero
    EXPECT_EQ(11, ScaleToBase(19, 168));    // 10.86
    // A saved position comes back unchanged from a start and a close that
    // did not move the window.
    for (int dpi : kDpis) {
        for (int units = -3000; units <= 3000; ++units) {
            ASSERT_EQ(units, ScaleToBase(ScaleToDpi(units, dpi), dpi)) << units << " at " << dpi;
        }
    }
}

TEST(DpiScale, PositionsFarOutStayInRangeAndNoResolutionMeans96) {
    EXPECT_EQ(INT_MAX, ScaleToDpi(INT_MAX, 192));
    EXPECT_EQ(INT_MIN, ScaleToDpi(INT_MIN, 192));
    EXPECT_EQ(INT_MIN / 2, ScaleToBase(INT_MIN, 192));
    EXPECT_EQ(250, ScaleToDpi(250, 0));
    EXPECT_EQ(250, ScaleToBase(250, 0));
}

}  // namespace
