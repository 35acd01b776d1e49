#include "win32/controls.h"

#include <commctrl.h>

#include "win32/text.h"
#include "win32/window_text.h"

void Win32Control::Enable(bool enabled) {
    if (!enabled && GetFocus() == hwnd_) {
        HWND parent = GetParent(hwnd_);
        HWND next = GetNextDlgTabItem(parent, hwnd_, FALSE);
        EnableWindow(hwnd_, FALSE);
        SetFocus(next && next != hwnd_ ? next : parent);
        return;
    }
    EnableWindow(hwnd_, enabled);
}

// Through the main window when there is one, which keeps the request for
// the next time it shows.
void Win32Control::TakeFocus() {
    if (focusHost_) {
        focusHost_->FocusControl(hwnd_);
    } else {
        SetFocus(hwnd_);
    }
}

bool Win32Control::Focused() const {
    return focusHost_ ? focusHost_->HasFocus(hwnd_) : GetFocus() == hwnd_;
}

std::string Win32Edit::Text() const { return ToCp932(WindowText(hwnd_)); }

bool Win32Edit::TextIsExact() const { return ToCp932Exact(WindowText(hwnd_)).has_value(); }

void Win32Edit::SetText(const std::string& text) { SetWindowTextW(hwnd_, ToWide(text).c_str()); }

bool Win32CheckBox::Checked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32StatusLine::Show(const std::string& text) {
    const std::wstring wide = ToWide(text);
    SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
