// Timer1: a window timer whose ticks arrive as WM_TIMER with its id at the
// owner window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/toolkit.h"

class Win32Timer : public ITimer {
public:
    // Created disabled, with an interval of 1000 ms.
    Win32Timer(HWND owner, UINT_PTR id) : owner_(owner), id_(id) {}
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    // Each change kills the system timer and, when enabled with a non-zero
    // interval, starts a fresh one; the new value stays set even when the
    // system refuses the timer (EOutOfResources).
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    void SetInterval(std::uint32_t milliseconds) override;
    std::uint32_t Interval() const override { return interval_; }

    // A WM_TIMER with this id is a tick to handle: the timer is still armed.
    // Ticks already queued when it was disarmed are dropped.
    bool IsTick(WPARAM timerId) const { return timerId == id_ && Armed(); }
    bool Armed() const { return enabled_ && interval_ != 0; }

private:
    void Update();

    HWND owner_;
    UINT_PTR id_;
    bool enabled_ = false;
    std::uint32_t interval_ = 1000;
};
