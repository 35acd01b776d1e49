// The main window's fonts: a Japanese Gothic for the window and the banner,
// the system's status-bar font for the status line.
#pragma once

#include <windows.h>

#include "util/dpi_scale.h"
#include "win32/handles.h"

struct WindowFonts {
    UniqueFont window;
    UniqueFont banner;
    UniqueFont status;
};

// The fonts of the layout at dpi: the Gothic fonts' heights scaled from 96
// dpi, the system's status-bar font for dpi. A font that cannot be made is
// null: its controls keep the system's font.
WindowFonts CreateWindowFonts(Dpi dpi);
