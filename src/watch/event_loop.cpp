#include "watch/event_loop.h"

#include <algorithm>

void DispatchMessagesFor(IEventLoop& loop, std::uint32_t milliseconds) {
    DispatchMessagesUntil(loop, milliseconds, [] { return false; });
}

void DispatchMessagesUntil(IEventLoop& loop, std::uint32_t milliseconds,
                           const std::function<bool()>& done) {
    // The counter wraps every 2^32 ms; elapsed time is summed from the
    // differences of consecutive readings, so neither the wrap nor a wait close
    // to 2^32 ms can end the wait early or make it endless. That needs two
    // readings to lie less than 2^32 ms apart, so one block is at most 2^31 - 1
    // ms, which also keeps clear of 0xFFFFFFFF, the platform's "forever".
    constexpr std::uint64_t kLongestBlock = 0x7FFFFFFFu;
    std::uint32_t previous = loop.TickCount();
    std::uint64_t elapsed = 0;
    for (;;) {
        loop.ProcessMessages();
        if (done()) return;
        const std::uint32_t reading = loop.TickCount();
        elapsed += static_cast<std::uint32_t>(reading - previous);
        previous = reading;
        if (elapsed > milliseconds) return;
        // Until the counter reads more than milliseconds after the start.
        const std::uint64_t remaining = milliseconds - elapsed + 1;
        loop.WaitForMessage(static_cast<std::uint32_t>(std::min(remaining, kLongestBlock)));
    }
}
