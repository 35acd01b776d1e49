// The watch's timer: a window timer whose ticks arrive as WM_TIMER with its
// id at the owner window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "watch/ports.h"

class Win32Timer : public IWatchTimer {
public:
    Win32Timer(HWND owner, UINT_PTR id) : owner_(owner), id_(id) {}
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    // Kills the system timer and starts a fresh one; throws TimerRefused when
    // the system refuses it, and stays disarmed then.
    void Arm(std::uint32_t milliseconds) override;
    void Disarm() override;

    // A WM_TIMER with this id is a tick to handle: the timer is still armed.
    // Ticks already queued when it was disarmed are dropped.
    bool IsTick(WPARAM timerId) const { return timerId == id_ && armed_; }
    bool Armed() const { return armed_; }

private:
    HWND owner_;
    UINT_PTR id_;
    bool armed_ = false;
};
