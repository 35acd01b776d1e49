#include "win32/dpi.h"

#include "win32/handles.h"
#include "win32/newer_functions.h"

namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// 0 where this Windows cannot tell.
UINT EffectiveMonitorDpi(HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    auto* const getDpiForMonitor = Newer().getDpiForMonitor;
    if (!getDpiForMonitor || FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y))) return 0;
    return y;
}

RECT AdjustedFrame(SIZE client, DWORD style, DWORD exStyle, Dpi dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    auto* const adjust = Newer().adjustWindowRectExForDpi;
    if (!adjust || !adjust(&frame, style, FALSE, exStyle, ToUint(dpi))) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

}  // namespace

Dpi SystemDpi() {
    if (auto* const getDpi = Newer().getDpiForSystem) {
        if (const UINT dpi = getDpi()) return DpiOf(dpi);
    }
    const WindowDC screen(nullptr);
    return Dpi(screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0);
}

Dpi WindowDpi(HWND window) {
    if (auto* const getDpi = Newer().getDpiForWindow) {
        if (const UINT dpi = getDpi(window)) return DpiOf(dpi);
    } else if (const UINT dpi =
                   EffectiveMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))) {
        return DpiOf(dpi);
    }
    return SystemDpi();
}

Dpi MonitorDpi(HMONITOR monitor) {
    const UINT dpi = EffectiveMonitorDpi(monitor);
    return dpi ? DpiOf(dpi) : SystemDpi();
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, Dpi dpi) {
    const RECT frame = AdjustedFrame(client, style, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int FrameTopHeight(DWORD style, DWORD exStyle, Dpi dpi) {
    return -AdjustedFrame({0, 0}, style, exStyle, dpi).top;
}

int SystemMetric(int index, Dpi dpi) {
    if (auto* const metric = Newer().getSystemMetricsForDpi) return metric(index, ToUint(dpi));
    return dpi.From(GetSystemMetrics(index), SystemDpi());
}

bool NonClientMetrics(NONCLIENTMETRICSW& metrics, Dpi dpi) {
    metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (auto* const parameters = Newer().systemParametersInfoForDpi) {
        if (parameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, ToUint(dpi))) {
            return true;
        }
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return false;
    }
    const Dpi system = SystemDpi();
    if (dpi != system) {
        for (LOGFONTW* font :
             {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
              &metrics.lfStatusFont, &metrics.lfMessageFont}) {
            font->lfHeight = dpi.From(font->lfHeight, system);
        }
    }
    return true;
}
