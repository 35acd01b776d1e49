// The resolution a window is drawn for, and the system's measures at a
// resolution. Where this Windows cannot tell a monitor's or a window's own
// resolution, the system's stands in and its measures are scaled from it.
#pragma once

#include <windows.h>

#include "util/dpi_scale.h"

// WM_DPICHANGED and WM_GETDPISCALEDSIZE, which headers for Windows 7 lack.
inline constexpr UINT kDpiChangedMessage = 0x02E0;
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The resolution a message or a system function gives.
inline Dpi DpiOf(UINT value) { return Dpi(static_cast<int>(value)); }
inline UINT ToUint(Dpi dpi) { return static_cast<UINT>(dpi.Value()); }

// The system's resolution: the unit of every position a program that is not
// aware of resolutions sees.
Dpi SystemDpi();
// The resolution of the monitor the window is on, for a program that follows
// each monitor's resolution; else the system's.
Dpi WindowDpi(HWND window);
// The resolution of a monitor, likewise.
Dpi MonitorDpi(HMONITOR monitor);

// The outer size of a window whose client area has the given size, with the
// frame's measures at dpi.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, Dpi dpi);
// The height of the frame's top strip, the caption with the border above it,
// at dpi.
int FrameTopHeight(DWORD style, DWORD exStyle, Dpi dpi);
// GetSystemMetrics at dpi.
int SystemMetric(int index, Dpi dpi);
// The system's non-client metrics with their fonts sized for dpi; false when
// the system gives none.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, Dpi dpi);
