#include "win32/window.h"

#include <exception>
#include <vector>

#include "app/window_place.h"
#include "util/dpi_scale.h"
#include "win32/dpi.h"

namespace {

// At 96 dpi: room to take hold of the caption beside its buttons.
constexpr int kUsefulCaptionWidth = 100;

// The monitors' work areas, and an error that ended their enumeration: it
// cannot pass through the system's frame, so it is raised after it.
struct WorkAreas {
    std::vector<ScreenArea> areas;
    std::exception_ptr error;
};

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM found) noexcept {
    auto& work = *reinterpret_cast<WorkAreas*>(found);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcWork;
    try {
        work.areas.push_back({r.left, r.top, r.right, r.bottom});
    } catch (...) {
        work.error = std::current_exception();
        return FALSE;
    }
    return TRUE;
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
    const Dpi dpi = SystemDpi();
    MoveToPixels({dpi.Scale(left), dpi.Scale(top)});
}

void Win32Window::MoveToPixels(POINT position) {
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

int Win32Window::Left() const { return SystemDpi().ToBase(Position().x); }

int Win32Window::Top() const { return SystemDpi().ToBase(Position().y); }

void Win32Window::Minimize() { ShowWindow(hwnd_, SW_MINIMIZE); }

void Win32Window::ShowBusy(bool busy) {
    busy_ = busy;
    // The pointer over the window changes at once, not at its next move.
    POINT at{};
    if (!GetCursorPos(&at)) return;
    const HWND under = WindowFromPoint(at);
    if (under && (under == hwnd_ || IsChild(hwnd_, under))) {
        SendMessageW(
            under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
            MAKELPARAM(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), WM_MOUSEMOVE));
    }
}

bool Win32Window::SetBusyCursor() const {
    if (!busy_) return false;
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return true;
}

void Win32Window::Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void Win32Window::KeepInView() {
    WorkAreas work;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&work));
    if (work.error) std::rethrow_exception(work.error);
    // The size and the place of the frame as restored, in screen pixels.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(hwnd_, &placement)) return;
    const RECT& normal = placement.rcNormalPosition;
    const POINT position = Position();
    const ScreenPoint now{position.x, position.y};
    const Dpi dpi = WindowDpi(hwnd_);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const FrameShape shape{normal.right - normal.left, normal.bottom - normal.top,
                           FrameTopHeight(style, exStyle, dpi), dpi.Scale(kUsefulCaptionWidth)};
    const ScreenPoint target = PositionInView(now, shape, work.areas);
    if (target.x != now.x || target.y != now.y) MoveToPixels({target.x, target.y});
}
