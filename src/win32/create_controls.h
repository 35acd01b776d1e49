// Creates the main window's controls from the layout table, each with its
// font, colours and behaviours, in the tab order of the layout.
#pragma once

#include <windows.h>

#include "win32/fonts.h"

// False when a control cannot be created (GetLastError tells why); the
// controls made so far die with the window.
bool CreateControls(HWND window, HINSTANCE instance, const WindowFonts& fonts);
