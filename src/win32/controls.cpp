#include "win32/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "win32/handles.h"
#include "win32/text.h"

namespace {

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The offset of the workspace (the monitor less the task bar) from the
// screen: window placements count from the workspace.
POINT WorkspaceOffset(HWND hwnd) {
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return {0, 0};
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// The selection of an edit as character positions.
std::pair<std::size_t, std::size_t> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end < start) std::swap(start, end);
    return {start, end};
}

// The longest start of insert, whole characters only, that fits into the
// edit's byte limit in place of its selection.
std::wstring FittingPart(HWND edit, const std::wstring& insert, std::size_t maxBytes) {
    const std::wstring text = WindowText(edit);
    auto [start, end] = Selection(edit);
    start = std::min(start, text.size());
    end = std::min(end, text.size());
    const std::size_t kept = Cp932Length(text.substr(0, start) + text.substr(end));
    std::size_t room = kept < maxBytes ? maxBytes - kept : 0;
    std::size_t taken = 0;
    while (taken < insert.size()) {
        std::size_t length = 1;
        if (IS_HIGH_SURROGATE(insert[taken]) && taken + 1 < insert.size() &&
            IS_LOW_SURROGATE(insert[taken + 1])) {
            length = 2;
        }
        const std::size_t bytes = Cp932Length(insert.substr(taken, length));
        if (bytes > room) break;
        room -= bytes;
        taken += length;
    }
    return insert.substr(0, taken);
}

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Disabling the control with the focus would leave the focus nowhere, and the
// keyboard dead: it moves on to the next control in the tab order first.
void Enable(HWND hwnd, bool enabled) {
    if (!enabled && GetFocus() == hwnd) {
        HWND parent = GetParent(hwnd);
        HWND next = GetNextDlgTabItem(parent, hwnd, FALSE);
        EnableWindow(hwnd, FALSE);
        SetFocus(next && next != hwnd ? next : parent);
        return;
    }
    EnableWindow(hwnd, enabled);
}

// Through the main window when there is one, which keeps the request for
// the next time it shows.
void TakeFocus(HWND hwnd, IFocusHost* focusHost) {
    if (focusHost) {
        focusHost->FocusControl(hwnd);
    } else {
        SetFocus(hwnd);
    }
}

bool FocusedControl(HWND hwnd, const IFocusHost* focusHost) {
    return focusHost ? focusHost->HasFocus(hwnd) : GetFocus() == hwnd;
}

constexpr UINT_PTR kByteLimitId = 1;
constexpr UINT_PTR kMemoKeysId = 2;

// Runs the edit's own handling of an input message; when that made the text
// longer than the limit, the text and selection from before come back.
LRESULT GuardedInput(HWND edit, UINT msg, WPARAM wp, LPARAM lp, std::size_t maxBytes) {
    const std::wstring before = WindowText(edit);
    const auto selection = Selection(edit);
    const LRESULT result = DefSubclassProc(edit, msg, wp, lp);
    const std::wstring after = WindowText(edit);
    const std::size_t afterBytes = Cp932Length(after);
    if (afterBytes > maxBytes && afterBytes > Cp932Length(before)) {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, selection.first, selection.second);
        MessageBeep(MB_OK);
    }
    return result;
}

LRESULT CALLBACK ByteLimitProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR maxBytes) {
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR: {
            const auto c = static_cast<wchar_t>(wp);
            // Control characters are editing commands (Backspace, Ctrl+Z, ...).
            if (c < L' ' || c == 0x7F) return GuardedInput(edit, msg, wp, lp, maxBytes);
            if (FittingPart(edit, std::wstring(1, c), maxBytes).empty()) {
                MessageBeep(MB_OK);
                return 0;
            }
            break;
        }
        case WM_PASTE: {
            if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) return 0;
            std::wstring text = ClipboardText(edit);
            // A single-line edit takes the first line only.
            text = text.substr(0, text.find_first_of(L"\r\n"));
            const std::wstring part = FittingPart(edit, text, maxBytes);
            if (part.size() < text.size()) MessageBeep(MB_OK);
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
            return 0;
        }
        case WM_UNDO:
        case EM_UNDO:
        case WM_IME_COMPOSITION:
        case WM_IME_ENDCOMPOSITION:
            return GuardedInput(edit, msg, wp, lp, maxBytes);
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, ByteLimitProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, msg, wp, lp);
}

LRESULT CALLBACK MemoKeysProc(HWND memo, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    switch (msg) {
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) return 0;
            break;
        case WM_CHAR:
            if (wp == VK_ESCAPE) return 0;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(memo, MemoKeysProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(memo, msg, wp, lp);
}

constexpr UINT_PTR kStatusPaintId = 3;

void PaintStatus(HWND bar, HDC dc, COLORREF background) {
    RECT client{};
    GetClientRect(bar, &client);
    const UniqueBrush brush(CreateSolidBrush(background));
    FillRect(dc, &client, brush.get());
    RECT part{};
    if (!SendMessageW(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part))) part = client;
    DrawEdge(dc, &part, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    InflateRect(&part, -2, 0);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &part,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CALLBACK StatusPaintProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                 DWORD_PTR background) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(bar, &ps);
            PaintStatus(bar, dc, static_cast<COLORREF>(background));
            EndPaint(bar, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintStatus(bar, reinterpret_cast<HDC>(wp), static_cast<COLORREF>(background));
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(bar, StatusPaintProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(bar, msg, wp, lp);
}

}  // namespace

void PaintStatusLine(HWND statusBar, COLORREF background) {
    SetWindowSubclass(statusBar, StatusPaintProc, kStatusPaintId, background);
    InvalidateRect(statusBar, nullptr, TRUE);
}

std::size_t Cp932Length(const std::wstring& text) { return ToCp932(text).size(); }

void LimitEditBytes(HWND edit, std::size_t maxBytes) {
    SetWindowSubclass(edit, ByteLimitProc, kByteLimitId, static_cast<DWORD_PTR>(maxBytes));
}

void KeepEscapeInMemo(HWND memo) { SetWindowSubclass(memo, MemoKeysProc, kMemoKeysId, 0); }

std::string Win32Edit::Text() const { return ToCp932(WindowText(hwnd_)); }

void Win32Edit::SetText(const std::string& text) { SetWindowTextW(hwnd_, ToWide(text).c_str()); }

void Win32Edit::SetEnabled(bool enabled) { Enable(hwnd_, enabled); }

void Win32Edit::Focus() { TakeFocus(hwnd_, focusHost_); }

bool Win32Edit::HasFocus() const { return FocusedControl(hwnd_, focusHost_); }

void Win32Button::SetEnabled(bool enabled) { Enable(hwnd_, enabled); }

void Win32Button::Focus() { TakeFocus(hwnd_, focusHost_); }

bool Win32Button::HasFocus() const { return FocusedControl(hwnd_, focusHost_); }

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

POINT Win32Window::Position() const {
    if (IsIconic(hwnd_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(hwnd_, &placement)) {
            const POINT offset = WorkspaceOffset(hwnd_);
            return {placement.rcNormalPosition.left + offset.x,
                    placement.rcNormalPosition.top + offset.y};
        }
    }
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return {rect.left, rect.top};
}

void Win32Window::MoveTo(int left, int top) {
    const POINT position{left, top};
    if (IsIconic(hwnd_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(hwnd_, &placement)) {
            const POINT offset = WorkspaceOffset(hwnd_);
            RECT& normal = placement.rcNormalPosition;
            OffsetRect(&normal, position.x - offset.x - normal.left,
                       position.y - offset.y - normal.top);
            placement.flags = 0;
            placement.showCmd = SW_SHOWMINNOACTIVE;
            SetWindowPlacement(hwnd_, &placement);
        }
        return;
    }
    SetWindowPos(hwnd_, nullptr, position.x, position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Window::Left() const { return Position().x; }

int Win32Window::Top() const { return Position().y; }

void Win32Window::Minimize() { ShowWindow(hwnd_, SW_MINIMIZE); }

void Win32Window::Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }
