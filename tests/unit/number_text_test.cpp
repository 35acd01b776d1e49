#include "util/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

// ---------------------------------------------------------------------------
// TextToBool, BoolToText

TEST(TextToBool, TruthTokensAfterBlanksAndCaseAreTrue) {
    for (const char* t : {"t", "Tr", "tRu", "true", "T", "TRUE", " TRUE ", "T R U E", "on", "o n",
                          "ON", "1", "\x82\x50", "\x81\x9B", "\x90\x5E", "\x90\xB3",
                          "\x81\x40\x82\x50\x81\x40", "\t1\r\n", "\x01t\x1F"}) {
        EXPECT_TRUE(TextToBool(t)) << t;
    }
}

TEST(TextToBool, EverythingElseIsFalse) {
    for (const char* t : {"",
                          "   ",
                          "\x81\x40\t",
                          "0",
                          "F",
                          "FALSE",
                          "OFF",
                          "O",
                          "N",
                          "Y",
                          "yes",
                          "11",
                          "01",
                          "+1",
                          "1.0",
                          "TRUEX",
                          "ONN",
                          "\x90\x5E\x8E\xC0",                  // 真実
                          "\x82\x6E\x82\x6D",                  // full-width ON
                          "\x82\x94\x82\x92\x82\x95\x82\x85",  // full-width true
                          "\x81\x5A",
                          "\x81\xFC",
                          "\x81\x9C",  // look-alike circles
                          "\x7F"
                          "1",
                          "\xA0"
                          "1"}) {
        EXPECT_FALSE(TextToBool(t)) << t;
    }
}

TEST(TextToBool, SecondByteIsNeverUpperCasedOnItsOwn) {
    // Full-width Q is 0x82 0x70; 0x70 upper-cased alone would give 0x82 0x50,
    // the full-width digit one.
    EXPECT_FALSE(TextToBool("\x82\x70"));
    EXPECT_FALSE(TextToBool(" \x82\x70 "));
}

TEST(BoolToText, GivesOneOrZeroAndReadsBack) {
    EXPECT_EQ(BoolToText(true), "1");
    EXPECT_EQ(BoolToText(false), "0");
    EXPECT_TRUE(TextToBool(BoolToText(true)));
    EXPECT_FALSE(TextToBool(BoolToText(false)));
}

// ---------------------------------------------------------------------------
// TextToInt

TEST(TextToInt, DecimalForms) {
    for (const char* t : {"42", " 42", "+42", "0042", "   +0000000000000000000000042"}) {
        EXPECT_EQ(TextToInt(t), 42) << t;
    }
    EXPECT_EQ(TextToInt("-42"), -42);
    EXPECT_EQ(TextToInt("0"), 0);
    EXPECT_EQ(TextToInt("-0"), 0);
    EXPECT_EQ(TextToInt("010"), 10);  // not octal
    for (const char* t : {"42 ", "4 2", "4.2", "1e3", "\x82\x53\x82\x51", "\t42", "   ", "+", "-",
                          "", "+-4", "- 4", "42\n", "4a"}) {
        EXPECT_EQ(TextToInt(t), 0) << t;
    }
}

TEST(TextToInt, HexadecimalFormsAreTwosComplement) {
    for (const char* t : {"$1F", "$1f", "0x1F", "0X1f", "x1F", "X1F", " +$1F"}) {
        EXPECT_EQ(TextToInt(t), 31) << t;
    }
    EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TextToInt("$80000000"), INT32_MIN);
    EXPECT_EQ(TextToInt("$7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(TextToInt("-$10"), -16);
    EXPECT_EQ(TextToInt("-0x10"), -16);
    EXPECT_EQ(TextToInt("-$FFFFFFFF"), 1);
    EXPECT_EQ(TextToInt("-$80000000"), INT32_MIN);
    EXPECT_EQ(TextToInt("$0000000000FF"), 255);
    EXPECT_EQ(TextToInt("0x" + std::string(5000, '0') + "FF"), 255);
    for (const char* t : {"$", "0x", "x", "$1G", "$100000000", "$FFFFFFFFF", "$-1", "0x 1", "$1F ",
                          "0$1", "00x1"}) {
        EXPECT_EQ(TextToInt(t), 0) << t;
    }
}

TEST(TextToInt, DecimalRangeIsThirtyTwoBits) {
    EXPECT_EQ(TextToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(TextToInt("2147483648"), 0);
    EXPECT_EQ(TextToInt("-2147483649"), 0);
    EXPECT_EQ(TextToInt("4294967295"), 0);
    EXPECT_EQ(TextToInt("4294967338"), 0);  // 42 beyond 2^32
    EXPECT_EQ(TextToInt("99999999999999999999999999"), 0);
}

// ---------------------------------------------------------------------------
// TextToFloat

TEST(TextToFloat, WellFormedTexts) {
    for (const char* t : {"5", "5.", "+5", " 5", "5e0", "  5.000", "0005", "50e-1"}) {
        EXPECT_EQ(TextToFloat(t), 5.0) << t;
    }
    EXPECT_EQ(TextToFloat(".5"), 0.5);
    EXPECT_EQ(TextToFloat("0.01"), 0.01);
    EXPECT_EQ(TextToFloat("1E-2"), 0.01);
    EXPECT_EQ(TextToFloat("1e3"), 1000.0);
    EXPECT_EQ(TextToFloat("1E+3"), 1000.0);
    EXPECT_EQ(TextToFloat("3600"), 3600.0);
    EXPECT_EQ(TextToFloat("-2.25"), -2.25);
    EXPECT_EQ(TextToFloat("0.1"), 0.1);
    EXPECT_EQ(TextToFloat("1.7976931348623157e308"), DBL_MAX);
    EXPECT_EQ(TextToFloat("2.2250738585072014e-308"), DBL_MIN);
}

TEST(TextToFloat, MalformedTextsAreZero) {
    for (const char* t : {"",    "5 ",  "2,5",      "1e",   "1e+",  "1.5e3x", "abc",   ".",
                          "e5",  "\t5", "E",        "-",    "+-5",  "5..0",   "1e2.5", "0x10",
                          "INF", "NAN", "\x82\x54", "1 e3", "1e 3", "--5"}) {
        EXPECT_EQ(TextToFloat(t), 0.0) << t;
    }
}

TEST(TextToFloat, RoundsOnceToTheNearestDouble) {
    // 2^53 + 1 lies halfway between two doubles: ties go to even, and any
    // non-zero digit after it, however far out, tips it up.
    EXPECT_EQ(TextToFloat("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(TextToFloat("9007199254740993.000000000000000000001"), 9007199254740994.0);
    EXPECT_EQ(TextToFloat("9007199254740993" + std::string(".") + std::string(3000, '0') + "1"),
              9007199254740994.0);
    EXPECT_EQ(TextToFloat("9007199254740993" + std::string(".") + std::string(3000, '0')),
              9007199254740992.0);
    EXPECT_EQ(TextToFloat("0." + std::string(2000, '0') + "1e2000"), 0.1);
    EXPECT_EQ(TextToFloat(std::string(4000, '0') + "2.5"), 2.5);
    EXPECT_EQ(TextToFloat("1" + std::string(300, '0') + "e-300"), 1.0);
}

TEST(TextToFloat, TinyMagnitudesGiveSubnormalsOrSignedZero) {
    const double tiniest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(TextToFloat("4.9406564584124654e-324"), tiniest);
    EXPECT_EQ(TextToFloat("2.4703282292062328e-324"), tiniest);  // just over half
    EXPECT_EQ(TextToFloat("2.4703282292062327e-324"), 0.0);      // just under half
    EXPECT_EQ(TextToFloat("-3e-324"), -tiniest);
    EXPECT_EQ(TextToFloat("1e-310"), 1e-310);
    for (const char* t :
         {"1e-400", "1e-99999999999999999999", "0e99999999999999999999", "0.0000e400", "1e-324"}) {
        const double v = TextToFloat(t);
        EXPECT_EQ(v, 0.0) << t;
        EXPECT_FALSE(std::signbit(v)) << t;
    }
    const double negative = TextToFloat("-1e-400");
    EXPECT_EQ(negative, 0.0);
    EXPECT_TRUE(std::signbit(negative));
}

TEST(TextToFloat, MagnitudesAboveTheLargestDoubleOverflow) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (const char* t :
         {"1e400", "1.7976931348623159e308", "1e309", "1e99999999999999999999", "0.1e310"}) {
        EXPECT_EQ(kInf, TextToFloat(t)) << t;
    }
    EXPECT_EQ(-kInf, TextToFloat("-1e400"));
    EXPECT_EQ(-kInf, TextToFloat("-1.7976931348623159e308"));
    EXPECT_EQ(kInf, TextToFloat("1" + std::string(400, '0')));
}

TEST(TextToFloat, HugeTextsConvert) {
    // Finishes at once, however long the text or the exponent.
    const std::string many(200000, '7');
    EXPECT_EQ(std::numeric_limits<double>::infinity(), TextToFloat(many));
    EXPECT_EQ(TextToFloat("0." + many + "e-99999999999999999999"), 0.0);
    EXPECT_NEAR(TextToFloat("0." + many), 7.0 / 9.0, 1e-16);
    EXPECT_EQ(TextToFloat("1e-" + std::string(100000, '9')), 0.0);
    EXPECT_EQ(TextToFloat("0e" + std::string(100000, '9')), 0.0);
}

// ---------------------------------------------------------------------------
// FloatToText

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
