#include "app/colour_scheme.h"

#include <algorithm>
#include <cmath>

namespace {

// One sRGB channel, 0 to 255, as linear light.
double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(layout::Colour c) {
    return 0.2126 * Linear(c.red) + 0.7152 * Linear(c.green) + 0.0722 * Linear(c.blue);
}

bool Readable(layout::Colour text, layout::Colour background) {
    return ContrastRatio(text, background) >= kReadableContrast;
}

}  // namespace

double ContrastRatio(layout::Colour a, layout::Colour b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool UsesSystemColours(const SystemScheme& scheme) {
    return scheme.highContrast || !Readable(scheme.windowText, layout::kBackground) ||
           !Readable(scheme.windowText, layout::kBannerColour) ||
           !Readable(scheme.buttonText, layout::kStatusLineColour);
}
