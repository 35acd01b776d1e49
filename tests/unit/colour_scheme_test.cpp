// The window keeps its own colours while the system's texts stand out on
// them, and takes the system's pairs in high contrast or where they would not.
#include "app/colour_scheme.h"

#include <gtest/gtest.h>

namespace {

constexpr layout::Colour kBlack{0, 0, 0};
constexpr layout::Colour kWhite{255, 255, 255};
constexpr layout::Colour kYellow{255, 255, 0};

TEST(ColourScheme, ContrastRatioIsWcagsFromOneToTwentyOne) {
    EXPECT_DOUBLE_EQ(21.0, ContrastRatio(kBlack, kWhite));
    EXPECT_DOUBLE_EQ(21.0, ContrastRatio(kWhite, kBlack));
    EXPECT_DOUBLE_EQ(1.0, ContrastRatio(kYellow, kYellow));
    // Grey 119 on white is the familiar 4.48:1, just short of 4.5.
    EXPECT_NEAR(4.48, ContrastRatio({119, 119, 119}, kWhite), 0.005);
    EXPECT_NEAR(1.07, ContrastRatio(kYellow, kWhite), 0.005);
}

TEST(ColourScheme, TheLayoutsColoursStayWhileTheSystemsTextsStandOutOnThem) {
    EXPECT_FALSE(UsesSystemColours({false, kBlack, kBlack})) << "the normal scheme";
    EXPECT_FALSE(UsesSystemColours({false, {0, 0, 128}, {64, 0, 0}})) << "dark custom texts";
}

TEST(ColourScheme, HighContrastOrAnUnreadableTextTakesTheSystemsPairs) {
    EXPECT_TRUE(UsesSystemColours({true, kBlack, kBlack})) << "high contrast, whatever its texts";
    EXPECT_TRUE(UsesSystemColours({false, kWhite, kWhite})) << "a dark scheme";
    EXPECT_TRUE(UsesSystemColours({false, kYellow, kBlack})) << "on the window's white";
    // Readable on white (4.6:1) but not on the banner's sky blue.
    EXPECT_TRUE(UsesSystemColours({false, {117, 117, 117}, kBlack}));
    EXPECT_TRUE(UsesSystemColours({false, {0, 128, 0}, kBlack})) << "green: 5.1:1 and 2.8:1";
    EXPECT_TRUE(UsesSystemColours({false, kBlack, {100, 100, 100}})) << "on the status line";
}

}  // namespace
