#include "util/dpi_scale.h"

#include <algorithm>
#include <climits>
#include <cstdint>

int MulDivRounded(int value, int numerator, int denominator) {
    if (denominator < 1) return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t quotient =
        (product < 0 ? product - half : product + half) / static_cast<std::int64_t>(denominator);
    return static_cast<int>(std::clamp<std::int64_t>(quotient, INT_MIN, INT_MAX));
}

int ScaleToDpi(int basePixels, int dpi) {
    return dpi < 1 ? basePixels : MulDivRounded(basePixels, dpi, kBaseDpi);
}

int ScaleToBase(int pixels, int dpi) {
    return dpi < 1 ? pixels : MulDivRounded(pixels, kBaseDpi, dpi);
}

int ScaleDownToDpi(int basePixels, int dpi) {
    if (dpi < 1) return basePixels;
    const std::int64_t product = static_cast<std::int64_t>(basePixels) * dpi;
    const std::int64_t quotient = product / kBaseDpi - (product % kBaseDpi < 0 ? 1 : 0);
    return static_cast<int>(std::clamp<std::int64_t>(quotient, INT_MIN, INT_MAX));
}
