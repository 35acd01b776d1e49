// The resolution a window is drawn for and the system's measures at it. The
// functions Windows 8.1 and 10 added for it are looked up at run time; where
// one is missing, the system's resolution stands in and the system's measures
// are scaled from it.
#pragma once

#include <windows.h>

#include "app/layout.h"

// WM_DPICHANGED and WM_GETDPISCALEDSIZE, which headers for Windows 7 lack.
inline constexpr UINT kDpiChangedMessage = 0x02E0;
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The system's resolution: the unit of every position a program that is not
// aware of resolutions sees.
UINT SystemDpi();
// The resolution of the monitor the window is on, for a program that follows
// each monitor's resolution; else the system's.
UINT WindowDpi(HWND window);
// The resolution of a monitor for a program that follows each monitor's
// resolution; else the system's.
UINT MonitorDpi(HMONITOR monitor);

// A length in pixels at 96 dpi at dpi, rounded as MulDiv rounds.
int Scale(int basePixels, UINT dpi);
// A control's place in its window's client area at dpi: its place and size
// in the layout, each scaled.
RECT ScaledPlace(const layout::Control& control, UINT dpi);
// The main window's client area at dpi.
SIZE LayoutClientSize(UINT dpi);
// The outer size of a window whose client area has the given size, with the
// frame's measures at dpi.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);
// The height of the frame's top strip, the caption with the border above it,
// at dpi.
int FrameTopHeight(DWORD style, DWORD exStyle, UINT dpi);
// GetSystemMetrics at dpi.
int SystemMetric(int index, UINT dpi);
// A system icon (IDI_ERROR) size pixels square, drawn at that size by common
// controls 6; null where they are not loaded. The caller destroys it.
HICON LoadSystemIcon(const wchar_t* name, int size);
// The system's non-client metrics with their fonts sized for dpi; false when
// the system gives none.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, UINT dpi);
// Opts a dialog out of the system's own rescaling of its size, font and
// controls at a change of resolution (Windows 10 1703 on): it lays itself
// out on WM_DPICHANGED.
void KeepDialogLayoutOwn(HWND dialog);
