// The error boundary: the message an escaped error gives, the text of the
// application's error box, and a handler ended there.
#include "app/error_boundary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/texts.h"
#include "fakes/fake_toolkit.h"
#include "util/errors.h"

TEST(ErrorBoundary, DotAfterALastCharacterThatSortsAfterDot) {
    EXPECT_EQ(AppErrorText("abc"), "abc.");
    EXPECT_EQ(AppErrorText("x/"), "x/.");  // "/" is 0x2F
    EXPECT_EQ(AppErrorText("abc."), "abc.");
    EXPECT_EQ(AppErrorText("abc-"), "abc-");  // "-" is 0x2D
    EXPECT_EQ(AppErrorText("abc "), "abc ");
    EXPECT_EQ(AppErrorText(""), "");
    EXPECT_EQ(AppErrorText("\xB1"), "\xB1.");  // half-width katakana
}

TEST(ErrorBoundary, JapaneseMessagesAlwaysGetTheDot) {
    EXPECT_EQ(AppErrorText(texts::kMsgOverflow), std::string(texts::kMsgOverflow) + ".");
    EXPECT_EQ(AppErrorText(texts::kMsgNoTimer), std::string(texts::kMsgNoTimer) + ".");
    // The first byte of the last character decides, not its second byte.
    EXPECT_EQ(AppErrorText("a\x82\x20"), "a\x82\x20.");
    EXPECT_EQ(AppErrorText("\x81\x81\x82\x2D"), "\x81\x81\x82\x2D.");
    EXPECT_EQ(AppErrorText("\x82"), "\x82.");
    // Two lead bytes in a row form one character: the "-" after them stands
    // alone and decides.
    EXPECT_EQ(AppErrorText("\x81\x81-"), "\x81\x81-");
}

TEST(ErrorBoundary, TypedErrorsGetTheProgramsTextOthersTheirOwnWords) {
    EXPECT_EQ(ErrorMessage(TimerRefused()), texts::kMsgNoTimer);
    EXPECT_EQ(ErrorMessage(std::runtime_error("disk gone")), "disk gone");
}

TEST(ErrorBoundary, RunHandlerShowsWhatEscapesAHandler) {
    FakeBoxes boxes;
    RunHandler(boxes, [] { throw std::runtime_error("disk gone"); });
    RunHandler(boxes, [] { throw TimerRefused(); });
    RunHandler(boxes, [] {});
    ASSERT_EQ(boxes.appErrors.size(), 2u);
    EXPECT_EQ(boxes.appErrors[0], "disk gone.");
    EXPECT_EQ(boxes.appErrors[1], std::string(texts::kMsgNoTimer) + ".");
    EXPECT_TRUE(boxes.errors.empty());
}
