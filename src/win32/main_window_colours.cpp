// The main window's colours: the palette of the system's scheme, on the
// window, its labels, check boxes, banner and status line.
#include "app/layout.h"
#include "win32/main_window.h"
#include "win32/status_line_paint.h"
// After windows.h, which it needs.
#include <uxtheme.h>

void MainWindow::ApplyColours() {
    const bool wasThemed = palette_.themedCheckBoxes;
    palette_ = CurrentPalette();
    windowBrush_.reset(CreateSolidBrush(palette_.window));
    bannerBrush_.reset(CreateSolidBrush(palette_.banner));
    const HWND hwnd = window_.Get();
    if (HWND statusLine = GetDlgItem(hwnd, layout::kStatusLine)) {
        PaintStatusLine(statusLine, palette_.statusLine);
    }
    if (palette_.themedCheckBoxes != wasThemed) {
        // A list that names no class of style: drawn without one, in the
        // palette's colours. Null for both: the system's style again.
        const wchar_t* classes = palette_.themedCheckBoxes ? nullptr : L" ";
        for (const int id : {layout::kAutoStartBox, layout::kStartMinimisedBox}) {
            SetWindowTheme(GetDlgItem(hwnd, id), classes, classes);
        }
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool MainWindow::OnEraseBackground(HDC dc) {
    if (!windowBrush_) return false;
    RECT client{};
    GetClientRect(window_.Get(), &client);
    FillRect(dc, &client, windowBrush_.get());
    return true;
}

LRESULT MainWindow::OnCtlColorStatic(HDC dc, HWND control) {
    switch (GetDlgCtrlID(control)) {
        case layout::kBanner:
            SetTextColor(dc, palette_.text);
            SetBkColor(dc, palette_.banner);
            return reinterpret_cast<LRESULT>(bannerBrush_.get());
        case layout::kJwwField:
        case layout::kOtherField:
        case layout::kFigureField:
        case layout::kIntervalField:
        case layout::kHelpMemo:
            // Read-only and disabled edits ask here; they keep the window colour.
            SetTextColor(dc,
                         GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        default:
            SetTextColor(dc, palette_.text);
            SetBkColor(dc, palette_.window);
            return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
}
