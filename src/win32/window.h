// The main window as the form sees it: its position, minimising, closing.
#pragma once

#include <windows.h>

#include "app/toolkit.h"

// A top-level window. Left and top are those of the outer frame in pixels of
// a 96-dpi screen: screen pixels × 96 / the system's resolution, rounded, as
// a program unaware of resolutions sees them. While the window is minimised,
// they are those it has when restored.
class Win32Window : public IWindow {
public:
    explicit Win32Window(HWND hwnd) : hwnd_(hwnd) {}
    int Left() const override;
    int Top() const override;
    void MoveTo(int left, int top) override;
    void Minimize() override;
    // The busy pointer is the one that says the program works in the
    // background (an arrow with an hourglass): the window goes on answering.
    void ShowBusy(bool busy) override;
    // The window's WM_SETCURSOR: true when it set the pointer.
    bool SetBusyCursor() const;
    // Sends WM_CLOSE, as the close box does, and returns once it is handled.
    void Close() override;
    // Brings a window whose caption shows no useful part on any monitor's
    // work area into view; one that can be taken by its caption stays.
    void KeepInView();

private:
    // In screen pixels.
    POINT Position() const;
    void MoveToPixels(POINT position);
    HWND hwnd_;
    bool busy_ = false;
};
