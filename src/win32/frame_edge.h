// The edge of a frame that the system calls (a window or subclass procedure,
// a hook): no exception may unwind through it. An error caught there goes to
// the error boundary of the window that owns the frame's window, where it is
// shown as an error that escaped a handler.
#pragma once

#include <windows.h>

#include <exception>

#include "app/toolkit.h"

// The message that brings an error caught at a frame's edge to the main
// window; lParam points to the std::exception_ptr.
inline constexpr UINT kFrameErrorMessage = WM_APP + 2;

// Hands the error being handled to the error boundary of the window at the
// root of hwnd's parents and owners. Dropped when that window has none.
void HandToBoundary(HWND hwnd) noexcept;

// Runs body and gives its result; an error that escapes it goes to the
// boundary (HandToBoundary) and the frame gives fallback.
template <typename Result, typename Body>
Result AtFrameEdge(HWND hwnd, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        HandToBoundary(hwnd);
        return fallback;
    }
}

// The error boundary of a window: shows error in the application's error box
// (RunHandler's box). An error while showing it is dropped: nothing is left
// to tell it.
void ShowAtBoundary(IMessageBoxes& boxes, std::exception_ptr error) noexcept;
