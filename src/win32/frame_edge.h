// The edge of a frame that the system calls (a window or subclass procedure,
// a dialog procedure): no exception may unwind through it. An error caught
// there is shown at that edge, at once, by the error boundary of the window
// at the root of the frame's window's parents and owners. Nothing of it goes
// into a message: the boundaries are known from this process's own memory.
#pragma once

#include <windows.h>

#include "app/toolkit.h"

// While it lives, boxes is the error boundary of root: errors caught at the
// edges of root's frames and of the windows it parents or owns are shown
// there (RunHandler's box). Made and ended on the user-interface thread.
class WindowBoundary {
public:
    WindowBoundary(HWND root, IMessageBoxes& boxes);
    ~WindowBoundary();
    WindowBoundary(const WindowBoundary&) = delete;
    WindowBoundary& operator=(const WindowBoundary&) = delete;

private:
    HWND root_;
};

// Shows the error being handled at the boundary of the window at the root of
// hwnd's parents and owners. Dropped when that window has none, or when
// showing it fails: nothing is left to tell it.
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
