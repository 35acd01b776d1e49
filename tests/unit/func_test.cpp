#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/texts.h"
#include "fakes/fake_toolkit.h"
#include "util/Func_.h"

namespace {

// Forwards to FakeApplication, records the times passed to WaitForMessage and
// fails a wait that would never end instead of hanging the test.
class BoundedPump : public IMessagePump {
public:
    explicit BoundedPump(FakeApplication& app) : app_(app) {}
    void ProcessMessages() override {
        if (++rounds_ > 10000) throw std::runtime_error("the wait does not end");
        app_.ProcessMessages();
    }
    void WaitForMessage(std::uint32_t ms) override {
        blocks.push_back(ms);
        app_.WaitForMessage(ms);
    }
    std::uint32_t TickCount() override {
        lastReading = app_.TickCount();
        return lastReading;
    }

    std::vector<std::uint32_t> blocks;
    std::uint32_t lastReading = 0;

private:
    FakeApplication& app_;
    int rounds_ = 0;
};

// Time from the start of the wait to the reading at which it ended; the first
// reading of a wait is taken when it starts.
std::uint32_t ElapsedAtReturn(std::uint32_t startNow, const BoundedPump& pump) {
    return pump.lastReading - startNow;
}

}  // namespace

// ---------------------------------------------------------------------------
// WaitWithMessages

TEST(WaitWithMessages, ZeroDispatchesPendingMessagesOnceAndReturnsAtTheNextReading) {
    FakeApplication app;
    BoundedPump pump(app);
    int handled = 0;
    app.Post([&] { ++handled; });
    app.Post([&] { ++handled; });
    const std::uint32_t start = app.now;
    WaitWithMessages(pump, 0);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(app.pumps, 1);
    EXPECT_EQ(ElapsedAtReturn(start, pump), 1u);
}

TEST(WaitWithMessages, ZeroBlocksWhenTheCounterHasNotMovedYet) {
    FakeApplication app;
    app.step = 0;  // reading the counter takes no time
    BoundedPump pump(app);
    const std::uint32_t start = app.now;
    WaitWithMessages(pump, 0);
    EXPECT_GE(app.pumps, 1);
    EXPECT_EQ(pump.blocks, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(ElapsedAtReturn(start, pump), 1u);
}

TEST(WaitWithMessages, ReturnsAtTheFirstReadingPastTheTimeAndBlocksMeanwhile) {
    for (std::uint32_t step : {0u, 1u, 16u}) {
        SCOPED_TRACE(step);
        FakeApplication app;
        app.now = 1000;
        app.step = step;
        BoundedPump pump(app);
        WaitWithMessages(pump, 500);
        const std::uint32_t elapsed = ElapsedAtReturn(1000, pump);
        EXPECT_GT(elapsed, 500u);
        EXPECT_LE(elapsed, 501u + step);
        // A polling wait would pump hundreds of times.
        EXPECT_LE(app.pumps, 3);
        EXPECT_LE(app.waits, 2);
        EXPECT_GE(app.waited + 2 * step, 500u);
    }
}

TEST(WaitWithMessages, MessagesArrivingDuringTheWaitAreHandledBeforeItReturns) {
    FakeApplication app;
    BoundedPump pump(app);
    std::vector<std::uint32_t> handledAt;
    bool late = false;
    app.Post([&] { handledAt.push_back(app.now); }, 100);
    // A click whose handler queues another message, which runs in the wait too.
    app.Post(
        [&] {
            handledAt.push_back(app.now);
            app.Post([&] { handledAt.push_back(app.now); });
        },
        450);
    app.Post([&] { late = true; }, 10000);
    WaitWithMessages(pump, 500);
    ASSERT_EQ(handledAt.size(), 3u);
    EXPECT_EQ(handledAt[0], 100u);
    EXPECT_EQ(handledAt[1], 450u);
    EXPECT_GT(ElapsedAtReturn(0, pump), 500u);
    EXPECT_FALSE(late);
    // Every arrival wakes the wait: a few rounds, not a poll.
    EXPECT_LE(app.pumps, 5);
}

TEST(WaitWithMessages, LastsItsFullTimeAcrossTheCounterWrap) {
    for (std::uint32_t start : {0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFFFE0Cu}) {
        SCOPED_TRACE(start);
        FakeApplication app;
        app.now = start;
        BoundedPump pump(app);
        bool handled = false;
        app.Post([&] { handled = true; }, 400);
        WaitWithMessages(pump, 500);
        EXPECT_TRUE(handled);
        const std::uint32_t elapsed = ElapsedAtReturn(start, pump);
        EXPECT_GT(elapsed, 500u);
        EXPECT_LE(elapsed, 502u);
        EXPECT_LT(pump.lastReading, start);  // the counter did wrap
    }
}

TEST(WaitWithMessages, LongestWaitEndsAndNeverAsksToBlockForever) {
    for (std::uint32_t ms : {0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFF0u}) {
        SCOPED_TRACE(ms);
        FakeApplication app;
        app.now = 123456;
        app.step = 16;
        BoundedPump pump(app);
        WaitWithMessages(pump, ms);
        // More than ms have passed, measured without the wrap.
        EXPECT_GT(app.waited + 16u * static_cast<std::uint64_t>(app.pumps + 1), ms);
        for (std::uint32_t block : pump.blocks) EXPECT_LT(block, 0xFFFFFFFFu);
        EXPECT_LE(app.pumps, 4);
    }
}

// ---------------------------------------------------------------------------
// SafeCopy

TEST(SafeCopy, CutsArgumentsToTheText) {
    const std::string t = "ABCDE";
    EXPECT_EQ(SafeCopy(t, 2, 3), "BCD");
    EXPECT_EQ(SafeCopy(t, 0, 2), "AB");
    EXPECT_EQ(SafeCopy(t, -7, 2), "AB");
    EXPECT_EQ(SafeCopy(t, 4, 10), "DE");
    EXPECT_EQ(SafeCopy(t, 5, 1), "E");
    EXPECT_EQ(SafeCopy(t, 1, INT32_MAX), "ABCDE");
    EXPECT_EQ(SafeCopy(t, INT32_MIN, 1), "A");
    EXPECT_EQ(SafeCopy(t, 6, 1), "");
    EXPECT_EQ(SafeCopy(t, INT32_MAX, 1), "");
    EXPECT_EQ(SafeCopy(t, 2, 0), "");
    EXPECT_EQ(SafeCopy(t, 2, -1), "");
    EXPECT_EQ(SafeCopy("", 1, 5), "");
    EXPECT_EQ(SafeCopy("", 0, -1), "");
}

TEST(SafeCopy, DropsTheLastByteOfAFolder) {
    auto withoutLast = [](const std::string& s) {
        return SafeCopy(s, 1, static_cast<std::int32_t>(s.size()) - 1);
    };
    EXPECT_EQ(withoutLast("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(withoutLast("\\"), "");
    EXPECT_EQ(withoutLast(""), "");
    EXPECT_EQ(withoutLast("C:\\\x83\x5C\\"), "C:\\\x83\x5C");
}

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
    for (const char* t : {"1e400", "-1e400", "1.7976931348623159e308", "1e309",
                          "1e99999999999999999999", "0.1e310"}) {
        EXPECT_THROW(TextToFloat(t), EOverflow) << t;
    }
    EXPECT_THROW(TextToFloat("1" + std::string(400, '0')), EOverflow);
    try {
        TextToFloat("1e400");
        FAIL() << "no overflow";
    } catch (const EAppError& e) {
        EXPECT_STREQ(e.what(), texts::kMsgOverflow);
    }
}

TEST(TextToFloat, HugeTextsConvert) {
    // Finishes at once, however long the text or the exponent.
    const std::string many(200000, '7');
    EXPECT_THROW(TextToFloat(many), EOverflow);
    EXPECT_EQ(TextToFloat("0." + many + "e-99999999999999999999"), 0.0);
    EXPECT_NEAR(TextToFloat("0." + many), 7.0 / 9.0, 1e-16);
    EXPECT_EQ(TextToFloat("1e-" + std::string(100000, '9')), 0.0);
    EXPECT_EQ(TextToFloat("0e" + std::string(100000, '9')), 0.0);
}

// ---------------------------------------------------------------------------
// StripBlanks

TEST(StripBlanks, RemovesBlanksEverywhere) {
    EXPECT_EQ(StripBlanks(""), "");
    EXPECT_EQ(StripBlanks("  C:\\Data\\  "), "C:\\Data\\");
    EXPECT_EQ(StripBlanks("C:\\My Data\\"), "C:\\MyData\\");
    EXPECT_EQ(StripBlanks("a\x81\x40"
                          "b"),
              "ab");
    EXPECT_EQ(StripBlanks(" \t\r\n\x81\x40 \x01\x1F"), "");
    EXPECT_EQ(StripBlanks(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(StripBlanks("\x7F\xA1\xDF\xFE\xFF"), "\x7F\xA1\xDF\xFE\xFF");
    EXPECT_EQ(StripBlanks("\xB1 \xB2"), "\xB1\xB2");
}

TEST(StripBlanks, WalksTwoByteCharactersWithItsOwnLeadBytes) {
    EXPECT_EQ(StripBlanks("a\x81"), "a\x81");  // a lone lead byte at the end stays
    EXPECT_EQ(StripBlanks("\x82\x81\x40"), "\x82\x81\x40");
    EXPECT_EQ(StripBlanks("\x80 "), "\x80 ");
    EXPECT_EQ(StripBlanks("\xFD "), "\xFD ");
    EXPECT_EQ(StripBlanks("\xFC "), "\xFC ");
    EXPECT_EQ(StripBlanks("\xFE "), "\xFE");
    EXPECT_EQ(StripBlanks("\xA0 "), "\xA0");
    EXPECT_EQ(StripBlanks("\x83\x5C \x83\x40"), "\x83\x5C\x83\x40");
    EXPECT_EQ(StripBlanks("\x81\x40\x81\x40\x81"), "\x81");
}
