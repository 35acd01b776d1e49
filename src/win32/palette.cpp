#include "win32/palette.h"

#include "app/colour_scheme.h"

namespace {

layout::Colour FromColorRef(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

COLORREF ToColorRef(layout::Colour c) { return RGB(c.red, c.green, c.blue); }

bool HighContrastOn() {
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof(highContrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(highContrast), &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

WindowPalette CurrentPalette() {
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const SystemScheme scheme{HighContrastOn(), FromColorRef(text),
                              FromColorRef(GetSysColor(COLOR_BTNTEXT))};
    if (UsesSystemColours(scheme)) {
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        return {window, text, window, GetSysColor(COLOR_BTNFACE), scheme.highContrast};
    }
    return {ToColorRef(layout::kBackground), text, ToColorRef(layout::kBannerColour),
            ToColorRef(layout::kStatusLineColour)};
}
