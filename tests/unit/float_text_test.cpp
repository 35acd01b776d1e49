#include "util/float_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <random>
#include <string>

#include "util/Func_.h"

TEST(FloatToText, IntervalForms) {
    EXPECT_EQ(FloatToText(5), "5");
    EXPECT_EQ(FloatToText(0.5), "0.5");
    EXPECT_EQ(FloatToText(0.01), "0.01");
    EXPECT_EQ(FloatToText(2.25), "2.25");
    EXPECT_EQ(FloatToText(3600), "3600");
    EXPECT_EQ(FloatToText(-2), "-2");
    EXPECT_EQ(FloatToText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToText(0.0001), "0.0001");
    EXPECT_EQ(FloatToText(0.00001), "1E-5");
    EXPECT_EQ(FloatToText(0.000015), "1.5E-5");
    EXPECT_EQ(FloatToText(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToText(1000000000000000.0), "1E15");
}

TEST(FloatToText, FixedAndScientificBounds) {
    EXPECT_EQ(FloatToText(100), "100");
    EXPECT_EQ(FloatToText(120000), "120000");
    EXPECT_EQ(FloatToText(1e14), "100000000000000");
    EXPECT_EQ(FloatToText(12.5), "12.5");
    EXPECT_EQ(FloatToText(0.001), "0.001");
    EXPECT_EQ(FloatToText(0.000123), "0.000123");
    EXPECT_EQ(FloatToText(0.0000999), "9.99E-5");
    EXPECT_EQ(FloatToText(1.5e-7), "1.5E-7");
    EXPECT_EQ(FloatToText(1e21), "1E21");
    EXPECT_EQ(FloatToText(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(FloatToText(-0.5), "-0.5");
    EXPECT_EQ(FloatToText(-1e-5), "-1E-5");
    EXPECT_EQ(FloatToText(DBL_MAX), "1.79769313486232E308");
    EXPECT_EQ(FloatToText(-DBL_MAX), "-1.79769313486232E308");
    EXPECT_EQ(FloatToText(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

TEST(FloatToText, ZeroAndInfinity) {
    EXPECT_EQ(FloatToText(0.0), "0");
    EXPECT_EQ(FloatToText(-0.0), "0");
    EXPECT_EQ(FloatToText(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToText(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FloatToText, OnlyTheSixteenthDigitDecidesTheRounding) {
    // Exactly 0.79384133319874849998...: the 16th digit is 4, so the 15th
    // stays; rounding to 16 digits first would have made it a 5.
    EXPECT_EQ(FloatToText(0.7938413331987485), "0.793841333198748");
    // 2.67499999999999982...: the 16th digit is 9.
    EXPECT_EQ(FloatToText(2.675), "2.675");
    EXPECT_EQ(FloatToText(0.3), "0.3");
    EXPECT_EQ(FloatToText(0.1 + 0.2), "0.3");
    // Integers with 16 digits: 5 rounds up, 4 down.
    EXPECT_EQ(FloatToText(1234567890123455.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToText(1234567890123454.0), "1.23456789012345E15");
}

TEST(FloatToText, CarryMovesTheDecimalExponent) {
    EXPECT_EQ(FloatToText(9.999999999999996), "10");
    EXPECT_EQ(FloatToText(-9.999999999999996), "-10");
    EXPECT_EQ(FloatToText(999999999999999.9), "1E15");
    EXPECT_EQ(FloatToText(0.0009999999999999996), "0.001");
    // 9.99999999999999912...E-5 becomes 0.0001, which is written fixed.
    EXPECT_EQ(FloatToText(9.999999999999999e-05), "0.0001");
}

TEST(FloatToText, ReadsBackWithTextToFloat) {
    // Any value of at most 15 significant digits comes back unchanged.
    std::mt19937_64 random(2024);
    std::uniform_int_distribution<long long> mantissa(1, 999999999999999LL);
    std::uniform_int_distribution<int> exponent(-320, 290);
    std::uniform_int_distribution<int> sign(0, 1);
    for (int n = 0; n < 20000; ++n) {
        const std::string written = (sign(random) ? "-" : "") + std::to_string(mantissa(random)) +
                                    "e" + std::to_string(exponent(random));
        const double value = TextToFloat(written);
        const std::string text = FloatToText(value);
        ASSERT_EQ(TextToFloat(text), value) << written << " -> " << text;
    }
    for (double v : {5.0, 0.01, 3600.0, 0.0625, 0.1875, 2.5, 1e-5, 1.5e-5}) {
        EXPECT_EQ(TextToFloat(FloatToText(v)), v);
    }
}
