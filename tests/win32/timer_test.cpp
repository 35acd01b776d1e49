// The timer adapter on a real window: it ticks only while armed, and every
// arm starts a fresh interval.
#include "win32/timer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "test_window.h"
#include "win32/application.h"

namespace {

using namespace adapter_test;

TEST(Timer, TicksOnlyWhileArmed) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    Win32Timer timer(window.Handle(), kTimerId);
    EXPECT_FALSE(timer.Armed());
    PumpFor(app, 150);
    EXPECT_EQ(0, window.ticks) << "never armed";
    EXPECT_FALSE(timer.IsTick(kTimerId));

    timer.Arm(20);
    EXPECT_TRUE(timer.IsTick(kTimerId));
    EXPECT_FALSE(timer.IsTick(kTimerId + 1));
    EXPECT_TRUE(PumpUntil(
        app, [&] { return window.ticks >= 3; }, 3000));

    timer.Disarm();
    EXPECT_FALSE(timer.IsTick(kTimerId));
    app.ProcessMessages();
    const int ticks = window.ticks;
    PumpFor(app, 150);
    EXPECT_EQ(ticks, window.ticks) << "disarmed";
}

TEST(Timer, EveryArmStartsAFreshInterval) {
    Win32Application app(L"Dirmind");
    TestWindow window;
    Win32Timer timer(window.Handle(), kTimerId);
    const auto start = Clock::now();
    timer.Arm(400);
    PumpFor(app, 250);
    // Armed again: the count starts over from here.
    const auto restart = Clock::now();
    timer.Arm(400);
    PumpUntil(
        app, [&] { return window.ticks > 0; }, 3000);
    ASSERT_EQ(1, window.ticks);
    EXPECT_GE(MsSince(restart), 390);
    EXPECT_GE(MsSince(start), 640);
}

}  // namespace
