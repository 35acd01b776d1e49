// The typed errors that the portable code throws and the application's error
// box reports. They carry no user text: what a user reads for each is decided
// where the error is shown.
#pragma once

#include <stdexcept>

// The system refused a timer.
class TimerRefused : public std::runtime_error {
public:
    TimerRefused() : std::runtime_error("the system refused a timer") {}
};
