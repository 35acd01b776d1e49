// The main window at its monitor's resolution: the layout, its fonts and the
// icons made again whenever the resolution changes, also while minimised.
#include "app/layout.h"
#include "win32/create_controls.h"
#include "win32/dpi.h"
#include "win32/main_window.h"
#include "win32/resource.h"

// The frame's metrics may differ from what AdjustWindowRectEx assumed: the
// client area is what must come out exact.
void MainWindow::FitClientArea() {
    RECT client{};
    RECT frame{};
    GetClientRect(window_.Get(), &client);
    GetWindowRect(window_.Get(), &frame);
    const SIZE size = LayoutClientSize(dpi_);
    const int dx = size.cx - client.right;
    const int dy = size.cy - client.bottom;
    if (dx != 0 || dy != 0) {
        SetWindowPos(window_.Get(), nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::FitRestoredFrame() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window_.Get(), &placement)) return;
    const SIZE frame = FrameSize(LayoutClientSize(dpi_), kFrameStyle, kFrameExStyle, dpi_);
    RECT& normal = placement.rcNormalPosition;
    normal.right = normal.left + frame.cx;
    normal.bottom = normal.top + frame.cy;
    placement.flags = 0;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(window_.Get(), &placement);
}

void MainWindow::LoadIcons() {
    const auto load = [this](int metric) {
        const int size = SystemMetric(metric, dpi_);
        return UniqueIcon(static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(IDI_DIRMIND), IMAGE_ICON, size, size, 0)));
    };
    UniqueIcon small = load(SM_CXSMICON);
    UniqueIcon big = load(SM_CXICON);
    // Each replaces the one before only once the window holds it.
    if (small) {
        SendMessageW(window_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
        smallIcon_ = std::move(small);
    }
    if (big) {
        SendMessageW(window_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
        bigIcon_ = std::move(big);
    }
}

// The window moved to a monitor of another resolution, or the resolution
// changed: the layout again at the new one, in the place the system suggests.
// A minimised window keeps its minimised frame; it takes the new size when
// it is restored.
void MainWindow::OnDpiChanged(Dpi dpi, const RECT& suggested) {
    const HWND hwnd = window_.Get();
    const unsigned change = ++dpiChanges_;
    dpi_ = dpi;
    WindowFonts fonts = CreateWindowFonts(dpi);
    if (IsIconic(hwnd)) {
        FitRestoredFrame();
    } else {
        // Moving can take the window onto yet another monitor: the change
        // that this sends in turn has then done all the work.
        SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (change != dpiChanges_) return;
        FitClientArea();
        if (change != dpiChanges_) return;
    }
    LayOutControls(hwnd, fonts, dpi);
    // The old fonts go once no control uses them.
    fonts_ = std::move(fonts);
    LoadIcons();
    InvalidateRect(hwnd, nullptr, TRUE);
}

// The size the system suggests at the next change of resolution: the frame
// around the layout's client area at the new one.
LRESULT MainWindow::OnGetDpiScaledSize(Dpi dpi, SIZE& size) const {
    size = FrameSize(LayoutClientSize(dpi), kFrameStyle, kFrameExStyle, dpi);
    return TRUE;
}

// Restored: the system may have changed the resolution while the window was
// minimised without telling it, or left the frame of another one.
void MainWindow::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) {
        minimised_ = true;
        return;
    }
    if (!minimised_) return;
    minimised_ = false;
    if (CurrentDpi() != dpi_) {
        FitBeforeShowing();
    } else {
        FitClientArea();
    }
}

// The window's own resolution where it differs from the layout's; else the
// resolution of the monitor the frame lies on, which the window may not have
// been given yet when the WM_SIZE of a restore comes.
Dpi MainWindow::CurrentDpi() const {
    const HWND hwnd = window_.Get();
    const Dpi own = WindowDpi(hwnd);
    return own != dpi_ ? own : MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

void MainWindow::FitBeforeShowing() {
    const HWND hwnd = window_.Get();
    const Dpi dpi = CurrentDpi();
    if (dpi == dpi_ || IsIconic(hwnd)) return;
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    OnDpiChanged(dpi, frame);
}
