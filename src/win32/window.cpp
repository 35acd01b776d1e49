#include "win32/window.h"

namespace {

// The offset of the workspace (the monitor less the task bar) from the
// screen: window placements count from the workspace.
POINT WorkspaceOffset(HWND hwnd) {
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return {0, 0};
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

}  // namespace

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
