// Keeps the main window's keyboard focus: the control that last had it gets
// it back whenever the window is activated or restored. Minimising takes the
// focus away without deactivating the window, so every change of focus among
// the controls is noted, from each control's own WM_SETFOCUS.
#pragma once

#include <windows.h>

#include "win32/controls.h"

class FocusKeeper : public IFocusHost {
public:
    explicit FocusKeeper(HWND window) : window_(window) {}
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

    // Notes each time the control takes the focus, for as long as it lives.
    void Track(HWND control);
    // Gives the focus back to the control that had it last, or, when that
    // one cannot take it, to the first one in the tab order.
    void Restore();

    // The control gets the focus now if the window can take it (or a control
    // of the hidden window holds it), and again whenever the window is
    // activated.
    void FocusControl(HWND control) override;
    bool HasFocus(HWND control) const override;

private:
    static LRESULT CALLBACK NoteFocus(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR keeper) noexcept;

    HWND window_;
    HWND last_ = nullptr;
};

// The window's WM_NEXTDLGCTL: a multi-line edit passes Tab on this way, and
// the dialog manager the arrow keys with the next control of the group, which
// may be one that Tab never reaches (a label, the status line). The focus
// steps over those in the same direction.
void StepFocus(HWND window, WPARAM wp, LPARAM lp);
