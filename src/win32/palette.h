// The colours of the main window's surfaces in the system's colour scheme as
// it is now: the layout's own, or the system's pairs where the system's texts
// would not be readable on the layout's colours (high contrast, a dark scheme).
#pragma once

#include <windows.h>

struct WindowPalette {
    COLORREF window;      // the window, its labels and its check boxes
    COLORREF text;        // their texts and the banner's: the window-text colour
    COLORREF banner;      // behind the banner's text
    COLORREF statusLine;  // behind the status line's text, which is the button text
    // Whether the check boxes keep the visual style: not while the window
    // takes the system's colours outside high contrast, as a themed box
    // draws its text in the style's colour, not in the palette's. High
    // contrast is a style of its own whose colours are readable.
    bool themedCheckBoxes = true;
};

WindowPalette CurrentPalette();
