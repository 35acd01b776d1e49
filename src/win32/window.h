// The main window as the form sees it: its position, minimising, closing.
#pragma once

#include <windows.h>

#include "app/toolkit.h"

// A top-level window. Left and top are those of the outer frame in screen
// pixels; while the window is minimised, those it has when restored.
class Win32Window : public IWindow {
public:
    explicit Win32Window(HWND hwnd) : hwnd_(hwnd) {}
    int Left() const override;
    int Top() const override;
    void MoveTo(int left, int top) override;
    void Minimize() override;
    // Sends WM_CLOSE, as the close box does, and returns once it is handled.
    void Close() override;
    // Brings a window that lies on no monitor's work area into the nearest
    // one; a window partly inside one stays where it is.
    void KeepInView();

private:
    POINT Position() const;
    HWND hwnd_;
};
