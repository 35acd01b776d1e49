// Creates the main window's controls from the layout table, each with its
// font and behaviours, in the layout's window order, and places
// them for a resolution.
#pragma once

#include <windows.h>

#include "win32/fonts.h"

// Creates the controls laid out for dpi. False when a control cannot be
// created (GetLastError tells why); the controls made so far die with the
// window.
bool CreateControls(HWND window, HINSTANCE instance, const WindowFonts& fonts, UINT dpi);

// Gives every control its font and its place at dpi, and redraws it.
void LayOutControls(HWND window, const WindowFonts& fonts, UINT dpi);
