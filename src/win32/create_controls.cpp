#include "win32/create_controls.h"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "app/layout.h"
#include "win32/byte_limit.h"
#include "win32/memo_keys.h"
#include "win32/text.h"

namespace {

struct ClassAndStyle {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle WindowKind(layout::Kind kind) {
    switch (kind) {
        case layout::Kind::Banner:
            return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case layout::Kind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case layout::Kind::Edit:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case layout::Kind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case layout::Kind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case layout::Kind::Memo:
            return {L"EDIT",
                    ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                        WS_HSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case layout::Kind::StatusLine:
            return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    }
    return {L"STATIC", 0, 0};
}
HFONT FontOf(const layout::Control& control, const WindowFonts& fonts) {
    if (control.kind == layout::Kind::Banner) return fonts.banner.get();
    if (control.kind == layout::Kind::StatusLine) return fonts.status.get();
    return fonts.window.get();
}

// What a control needs beyond its window: the status line's one part, the
// help text's keys, the interval field's limit and input method.
void Furnish(HWND hwnd, const layout::Control& control) {
    if (control.kind == layout::Kind::StatusLine) {
        int parts[] = {-1};
        SendMessageW(hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    } else if (control.kind == layout::Kind::Memo) {
        KeepEscapeInMemo(hwnd);
    } else if (control.id == layout::kIntervalField) {
        LimitEditBytes(hwnd, layout::kIntervalMaxBytes);
        ImmAssociateContextEx(hwnd, nullptr, 0);
    }
}

// The status bar sizes itself to its font: the place comes after the font.
void Place(HWND hwnd, const layout::Control& control, const WindowFonts& fonts, Dpi dpi,
           bool redraw) {
    if (HFONT font = FontOf(control, fonts)) {
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    const RECT r = ScaledPlace(control, dpi);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog manager tabs in the window order, and screen readers name a
// field after the static text before it: the layout's window order.
void ApplyWindowOrder(HWND window) {
    for (const int id : layout::WindowOrder()) {
        SetWindowPos(GetDlgItem(window, id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

bool CreateControls(HWND window, HINSTANCE instance, const WindowFonts& fonts, Dpi dpi) {
    const std::wstring help = ToWide(layout::HelpText());
    for (const layout::Control& control : layout::Controls()) {
        const ClassAndStyle kind = WindowKind(control.kind);
        const std::wstring text = control.kind == layout::Kind::Memo ? help : ToWide(control.text);
        const RECT r = ScaledPlace(control, dpi);
        HWND hwnd = CreateWindowExW(kind.exStyle, kind.cls, text.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, r.left,
                                    r.top, r.right - r.left, r.bottom - r.top, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                    instance, nullptr);
        if (!hwnd) return false;
        Furnish(hwnd, control);
        Place(hwnd, control, fonts, dpi, false);
    }
    ApplyWindowOrder(window);
    return true;
}

void LayOutControls(HWND window, const WindowFonts& fonts, Dpi dpi) {
    for (const layout::Control& control : layout::Controls()) {
        if (HWND hwnd = GetDlgItem(window, control.id)) Place(hwnd, control, fonts, dpi, true);
    }
}

RECT ScaledPlace(const layout::Control& control, Dpi dpi) {
    const int left = dpi.Scale(control.left);
    const int top = dpi.Scale(control.top);
    return {left, top, left + dpi.Scale(control.width), top + dpi.Scale(control.height)};
}

SIZE LayoutClientSize(Dpi dpi) {
    return {dpi.Scale(layout::kClientWidth), dpi.Scale(layout::kClientHeight)};
}
