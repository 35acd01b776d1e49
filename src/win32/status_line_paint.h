// The status line's own painting, in its colour.
#pragma once

#include <windows.h>

// Paints a one-part status bar itself, on the given background colour with
// its text in the button-text colour: a themed status bar ignores the colour
// it is given.
void PaintStatusLine(HWND statusBar, COLORREF background);
