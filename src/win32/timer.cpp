#include "win32/timer.h"

#include "util/Func_.h"

Win32Timer::~Win32Timer() { KillTimer(owner_, id_); }

void Win32Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void Win32Timer::SetInterval(std::uint32_t milliseconds) {
    interval_ = milliseconds;
    Update();
}

void Win32Timer::Update() {
    KillTimer(owner_, id_);
    if (!Armed()) return;
    if (SetTimer(owner_, id_, interval_, nullptr) == 0) throw EOutOfResources();
}
