#include "win32/status_line_paint.h"

#include <string>

#include "win32/dpi.h"
#include "win32/frame_edge.h"
#include "win32/handles.h"
#include "win32/subclass.h"

namespace {

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
    InflateRect(&part, -WindowDpi(bar).Scale(2), 0);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &part,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CALLBACK StatusPaintProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                 DWORD_PTR background) noexcept {
    const auto paint = [&](HDC dc) {
        return AtFrameEdge<LRESULT>(bar, 0, [&] {
            PaintStatus(bar, dc, static_cast<COLORREF>(background));
            return LRESULT{0};
        });
    };
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const PaintScope scope(bar);
            return paint(scope.Get());
        }
        case WM_PRINTCLIENT:
            return paint(reinterpret_cast<HDC>(wp));
        default:
            break;
    }
    return PassOn(bar, msg, wp, lp, StatusPaintProc, id);
}

}  // namespace

void PaintStatusLine(HWND statusBar, COLORREF background) {
    SetWindowSubclass(statusBar, StatusPaintProc, kStatusPaintId, background);
    InvalidateRect(statusBar, nullptr, TRUE);
}
