// Which colours the window's surfaces take: the layout's own, or the system's
// pairs where the layout's would not let the system's texts be read.
#pragma once

#include "app/layout.h"

// The contrast of two colours as WCAG 2 measures it: the lighter colour's
// relative luminance plus 0.05 over the darker one's; from 1 to 21.
double ContrastRatio(layout::Colour a, layout::Colour b);

// Below this ratio a text does not stand out from what is behind it.
inline constexpr double kReadableContrast = 4.5;

// What the system says about its colours.
struct SystemScheme {
    bool highContrast;
    layout::Colour windowText;  // the labels', the check boxes' and the banner's texts
    layout::Colour buttonText;  // the status line's text
};

// True when every surface takes the system's pair (the window's colour with
// its text colour, the status line the button face with the button text):
// while high contrast is on, and whenever a system text colour would stand
// out less than kReadableContrast from the layout's colour behind it.
bool UsesSystemColours(const SystemScheme& scheme);
