// Creates the main window's controls from the layout table, each with its
// font and behaviours, in the layout's window order, and places
// them for a resolution.
#pragma once

#include <windows.h>

#include "app/layout.h"
#include "util/dpi_scale.h"
#include "win32/fonts.h"

// Creates the controls laid out for dpi. False when a control cannot be
// created (GetLastError tells why); the controls made so far die with the
// window.
bool CreateControls(HWND window, HINSTANCE instance, const WindowFonts& fonts, Dpi dpi);

// Gives every control its font and its place at dpi, and redraws it.
void LayOutControls(HWND window, const WindowFonts& fonts, Dpi dpi);

// A control's place in its window's client area at dpi: its place and size
// in the layout, each scaled.
RECT ScaledPlace(const layout::Control& control, Dpi dpi);
// The main window's client area at dpi.
SIZE LayoutClientSize(Dpi dpi);
