#include "win32/timer.h"

#include "util/errors.h"

Win32Timer::~Win32Timer() { KillTimer(owner_, id_); }

void Win32Timer::Arm(std::uint32_t milliseconds) {
    Disarm();
    if (SetTimer(owner_, id_, milliseconds, nullptr) == 0) throw TimerRefused();
    armed_ = true;
}

void Win32Timer::Disarm() {
    KillTimer(owner_, id_);
    armed_ = false;
}
