// The event loop that keeps running while the watch waits: after a rewrite,
// and for the answers of folder tests.
#pragma once

#include <cstdint>
#include <functional>

class IEventLoop {
public:
    virtual ~IEventLoop() = default;
    // Dispatches every queued message, then returns.
    virtual void ProcessMessages() = 0;
    // Blocks until a message arrives or the time runs out, whichever is first.
    virtual void WaitForMessage(std::uint32_t milliseconds) = 0;
    // The system's millisecond counter (wraps after 2^32 ms).
    virtual std::uint32_t TickCount() = 0;
};

// Lets pending messages run until the counter reads more than milliseconds
// after the start; messages are dispatched at least once, also for 0.
void DispatchMessagesFor(IEventLoop& loop, std::uint32_t milliseconds);
// The same, ending as soon as done() holds after a round of dispatching.
void DispatchMessagesUntil(IEventLoop& loop, std::uint32_t milliseconds,
                           const std::function<bool()>& done);
