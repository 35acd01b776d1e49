// The end of every subclass procedure of a control: the message goes on to
// the next procedure, and the subclass removes itself when the control goes.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

inline LRESULT PassOn(HWND control, UINT msg, WPARAM wp, LPARAM lp, SUBCLASSPROC proc,
                      UINT_PTR id) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(control, proc, id);
    return DefSubclassProc(control, msg, wp, lp);
}
