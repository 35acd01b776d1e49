#include "watch/event_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "fakes/fake_toolkit.h"

namespace {

// Forwards to FakeEventLoop, records the times passed to WaitForMessage and
// fails a wait that would never end instead of hanging the test.
class BoundedPump : public IEventLoop {
public:
    explicit BoundedPump(FakeEventLoop& loop) : loop_(loop) {}
    void ProcessMessages() override {
        if (++rounds_ > 10000) throw std::runtime_error("the wait does not end");
        loop_.ProcessMessages();
    }
    void WaitForMessage(std::uint32_t ms) override {
        blocks.push_back(ms);
        loop_.WaitForMessage(ms);
    }
    std::uint32_t TickCount() override {
        lastReading = loop_.TickCount();
        return lastReading;
    }

    std::vector<std::uint32_t> blocks;
    std::uint32_t lastReading = 0;

private:
    FakeEventLoop& loop_;
    int rounds_ = 0;
};

// Time from the start of the wait to the reading at which it ended; the first
// reading of a wait is taken when it starts.
std::uint32_t ElapsedAtReturn(std::uint32_t startNow, const BoundedPump& pump) {
    return pump.lastReading - startNow;
}

}  // namespace

TEST(DispatchMessagesFor, ZeroDispatchesPendingMessagesOnceAndReturnsAtTheNextReading) {
    FakeEventLoop loop;
    BoundedPump pump(loop);
    int handled = 0;
    loop.Post([&] { ++handled; });
    loop.Post([&] { ++handled; });
    const std::uint32_t start = loop.now;
    DispatchMessagesFor(pump, 0);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(loop.pumps, 1);
    EXPECT_EQ(ElapsedAtReturn(start, pump), 1u);
}

TEST(DispatchMessagesFor, ZeroBlocksWhenTheCounterHasNotMovedYet) {
    FakeEventLoop loop;
    loop.step = 0;  // reading the counter takes no time
    BoundedPump pump(loop);
    const std::uint32_t start = loop.now;
    DispatchMessagesFor(pump, 0);
    EXPECT_GE(loop.pumps, 1);
    EXPECT_EQ(pump.blocks, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(ElapsedAtReturn(start, pump), 1u);
}

TEST(DispatchMessagesFor, ReturnsAtTheFirstReadingPastTheTimeAndBlocksMeanwhile) {
    for (std::uint32_t step : {0u, 1u, 16u}) {
        SCOPED_TRACE(step);
        FakeEventLoop loop;
        loop.now = 1000;
        loop.step = step;
        BoundedPump pump(loop);
        DispatchMessagesFor(pump, 500);
        const std::uint32_t elapsed = ElapsedAtReturn(1000, pump);
        EXPECT_GT(elapsed, 500u);
        EXPECT_LE(elapsed, 501u + step);
        // A polling wait would pump hundreds of times.
        EXPECT_LE(loop.pumps, 3);
        EXPECT_LE(loop.waits, 2);
        EXPECT_GE(loop.waited + 2 * step, 500u);
    }
}

TEST(DispatchMessagesFor, MessagesArrivingDuringTheWaitAreHandledBeforeItReturns) {
    FakeEventLoop loop;
    BoundedPump pump(loop);
    std::vector<std::uint32_t> handledAt;
    bool late = false;
    loop.Post([&] { handledAt.push_back(loop.now); }, 100);
    // A click whose handler queues another message, which runs in the wait too.
    loop.Post(
        [&] {
            handledAt.push_back(loop.now);
            loop.Post([&] { handledAt.push_back(loop.now); });
        },
        450);
    loop.Post([&] { late = true; }, 10000);
    DispatchMessagesFor(pump, 500);
    ASSERT_EQ(handledAt.size(), 3u);
    EXPECT_EQ(handledAt[0], 100u);
    EXPECT_EQ(handledAt[1], 450u);
    EXPECT_GT(ElapsedAtReturn(0, pump), 500u);
    EXPECT_FALSE(late);
    // Every arrival wakes the wait: a few rounds, not a poll.
    EXPECT_LE(loop.pumps, 5);
}

TEST(DispatchMessagesFor, LastsItsFullTimeAcrossTheCounterWrap) {
    for (std::uint32_t start : {0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFFFE0Cu}) {
        SCOPED_TRACE(start);
        FakeEventLoop loop;
        loop.now = start;
        BoundedPump pump(loop);
        bool handled = false;
        loop.Post([&] { handled = true; }, 400);
        DispatchMessagesFor(pump, 500);
        EXPECT_TRUE(handled);
        const std::uint32_t elapsed = ElapsedAtReturn(start, pump);
        EXPECT_GT(elapsed, 500u);
        EXPECT_LE(elapsed, 502u);
        EXPECT_LT(pump.lastReading, start);  // the counter did wrap
    }
}

TEST(DispatchMessagesFor, LongestWaitEndsAndNeverAsksToBlockForever) {
    for (std::uint32_t ms : {0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFF0u}) {
        SCOPED_TRACE(ms);
        FakeEventLoop loop;
        loop.now = 123456;
        loop.step = 16;
        BoundedPump pump(loop);
        DispatchMessagesFor(pump, ms);
        // More than ms have passed, measured without the wrap.
        EXPECT_GT(loop.waited + 16u * static_cast<std::uint64_t>(loop.pumps + 1), ms);
        for (std::uint32_t block : pump.blocks) EXPECT_LT(block, 0xFFFFFFFFu);
        EXPECT_LE(loop.pumps, 4);
    }
}
