// The interval rules: seconds to timer milliseconds, and the accepted range.
#include "watch/interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(IntervalTest, MillisecondsAreRoundedOnceFromTheExactProduct) {
    // Exact ties go to the even neighbour.
    EXPECT_EQ(62u, IntervalMilliseconds(0.0625));
    EXPECT_EQ(188u, IntervalMilliseconds(0.1875));
    EXPECT_EQ(2500u, IntervalMilliseconds(2.5));
    EXPECT_EQ(10u, IntervalMilliseconds(0.01));
    EXPECT_EQ(3600000u, IntervalMilliseconds(3600.0));
    // Doubles whose product rounds to an exact .5 but lies beside it:
    // rounding that rounded product again would give the other neighbour.
    EXPECT_EQ(2501u, IntervalMilliseconds(2.5005));  // 2500.50000000000016...
    EXPECT_EQ(13u, IntervalMilliseconds(0.0125));    // 12.50000000000000069...
    EXPECT_EQ(11u, IntervalMilliseconds(0.0105));    // 10.50000000000000065...
    EXPECT_EQ(13u, IntervalMilliseconds(0.0135));    // 13.49999999999999984...
    EXPECT_EQ(7003u, IntervalMilliseconds(7.0035));  // 7003.49999999999983...
    EXPECT_EQ(0u, IntervalMilliseconds(-1.0));
    EXPECT_EQ(0u, IntervalMilliseconds(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(4294967295u, IntervalMilliseconds(1e300));
}

TEST(IntervalTest, RangeBoundsAreTheDecimalsThemselves) {
    EXPECT_TRUE(IntervalInRange(0.01));
    EXPECT_FALSE(IntervalInRange(std::nextafter(0.01, 0.0)));
    EXPECT_FALSE(IntervalInRange(0.0099));
    EXPECT_TRUE(IntervalInRange(3600.0));
    EXPECT_FALSE(IntervalInRange(std::nextafter(3600.0, 4000.0)));
    EXPECT_FALSE(IntervalInRange(0.0));
    EXPECT_FALSE(IntervalInRange(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(IntervalInRange(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
