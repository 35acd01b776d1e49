#include "win32/focus_keeper.h"

#include "win32/subclass.h"

namespace {
constexpr UINT_PTR kNoteFocusId = 4;
}

void FocusKeeper::Track(HWND control) {
    SetWindowSubclass(control, NoteFocus, kNoteFocusId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK FocusKeeper::NoteFocus(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR keeper) noexcept {
    if (msg == WM_SETFOCUS) reinterpret_cast<FocusKeeper*>(keeper)->last_ = control;
    return PassOn(control, msg, wp, lp, NoteFocus, id);
}

void FocusKeeper::Restore() {
    HWND target = last_;
    if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    }
    if (target) SetFocus(target);
}

void FocusKeeper::FocusControl(HWND control) {
    last_ = control;
    // A focus already among the controls moves too while the window is
    // hidden: the window is activated when an error box of the auto-start
    // closes, gives the focus to its first control, and showing it later
    // brings no new activation that would restore the one noted here.
    if ((IsWindowVisible(window_) && !IsIconic(window_)) || IsChild(window_, GetFocus())) {
        SetFocus(control);
    }
}

bool FocusKeeper::HasFocus(HWND control) const {
    if (IsWindowVisible(window_) && !IsIconic(window_)) return GetFocus() == control;
    return last_ == control;
}

namespace {

// A control the Tab key never reaches: a label, the status line.
bool IsOffTabs(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) == 0; }

}  // namespace

void StepFocus(HWND hwnd, WPARAM wp, LPARAM lp) {
    const HWND focus = GetFocus();
    if (!LOWORD(lp)) {
        if (HWND next = GetNextDlgTabItem(hwnd, focus, wp != 0)) SetFocus(next);
        return;
    }
    HWND next = reinterpret_cast<HWND>(wp);
    if (next && !IsChild(hwnd, next)) return;
    const bool back = next && next != GetNextDlgGroupItem(hwnd, focus, FALSE);
    for (HWND first = next; next && IsOffTabs(next);) {
        next = GetNextDlgGroupItem(hwnd, next, back);
        if (next == first) return;
    }
    if (next) SetFocus(next);
}
