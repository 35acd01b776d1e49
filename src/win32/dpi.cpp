#include "win32/dpi.h"

#include "util/dpi_scale.h"
#include "win32/handles.h"

namespace {

// A function of a system library, or null where this Windows lacks it.
template <typename Function>
Function* SystemFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

template <typename Function>
Function* User32Function(const char* name) {
    return SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

using GetDpiForSystemFn = UINT WINAPI();
using GetDpiForWindowFn = UINT WINAPI(HWND);
using GetDpiForMonitorFn = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int WINAPI(int, UINT);
using SystemParametersInfoForDpiFn = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL WINAPI(HWND, int, int);
using LoadIconWithScaleDownFn = HRESULT WINAPI(HINSTANCE, const wchar_t*, int, int, HICON*);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// Windows 8.1 has the resolution of a monitor, in a library of its own; 0
// where it is missing.
UINT EffectiveMonitorDpi(HMONITOR monitor) {
    static const HMODULE shcore =
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto* getDpiForMonitor = SystemFunction<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (!getDpiForMonitor || FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y))) {
        return 0;
    }
    return y;
}

void ScaleFont(LOGFONTW& font, UINT from, UINT to) {
    font.lfHeight = MulDivRounded(font.lfHeight, static_cast<int>(to), static_cast<int>(from));
}

}  // namespace

UINT SystemDpi() {
    if (auto* getDpi = User32Function<GetDpiForSystemFn>("GetDpiForSystem")) {
        if (const UINT dpi = getDpi()) return dpi;
    }
    const WindowDC screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
    if (auto* getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow")) {
        if (const UINT dpi = getDpi(window)) return dpi;
    } else if (const UINT dpi =
                   EffectiveMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))) {
        return dpi;
    }
    return SystemDpi();
}

UINT MonitorDpi(HMONITOR monitor) {
    const UINT dpi = EffectiveMonitorDpi(monitor);
    return dpi ? dpi : SystemDpi();
}

int Scale(int basePixels, UINT dpi) { return ScaleToDpi(basePixels, static_cast<int>(dpi)); }

RECT ScaledPlace(const layout::Control& control, UINT dpi) {
    const int left = Scale(control.left, dpi);
    const int top = Scale(control.top, dpi);
    return {left, top, left + Scale(control.width, dpi), top + Scale(control.height, dpi)};
}

SIZE LayoutClientSize(UINT dpi) {
    return {Scale(layout::kClientWidth, dpi), Scale(layout::kClientHeight, dpi)};
}

namespace {

RECT AdjustedFrame(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    auto* adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&frame, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

}  // namespace

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    const RECT frame = AdjustedFrame(client, style, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int FrameTopHeight(DWORD style, DWORD exStyle, UINT dpi) {
    return -AdjustedFrame({0, 0}, style, exStyle, dpi).top;
}

int SystemMetric(int index, UINT dpi) {
    if (auto* metric = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi")) {
        return metric(index, dpi);
    }
    return MulDivRounded(GetSystemMetrics(index), static_cast<int>(dpi),
                         static_cast<int>(SystemDpi()));
}

bool NonClientMetrics(NONCLIENTMETRICSW& metrics, UINT dpi) {
    metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (auto* parameters =
            User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi")) {
        if (parameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return true;
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return false;
    }
    const UINT system = SystemDpi();
    if (dpi != system) {
        for (LOGFONTW* font :
             {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
              &metrics.lfStatusFont, &metrics.lfMessageFont}) {
            ScaleFont(*font, system, dpi);
        }
    }
    return true;
}

HICON LoadSystemIcon(const wchar_t* name, int size) {
    auto* load = SystemFunction<LoadIconWithScaleDownFn>(GetModuleHandleW(L"comctl32.dll"),
                                                         "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (!load || FAILED(load(nullptr, name, size, size, &icon))) return nullptr;
    return icon;
}

void KeepDialogLayoutOwn(HWND dialog) {
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (auto* set = User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior")) {
        set(dialog, kDisableAll, kDisableAll);
    }
}
