#include "util/dpi_scale.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// value × numerator / denominator (at least 1), rounded to the nearest
// integer with halves away from zero and held to the int range.
int MulDivRounded(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t quotient =
        (product < 0 ? product - half : product + half) / static_cast<std::int64_t>(denominator);
    return static_cast<int>(std::clamp<std::int64_t>(quotient, INT_MIN, INT_MAX));
}

}  // namespace

int Dpi::Scale(int basePixels) const { return MulDivRounded(basePixels, value_, kBaseDpi); }

int Dpi::ToBase(int pixels) const { return MulDivRounded(pixels, kBaseDpi, value_); }

int Dpi::ScaleDown(int basePixels) const {
    const std::int64_t product = static_cast<std::int64_t>(basePixels) * value_;
    const std::int64_t quotient = product / kBaseDpi - (product % kBaseDpi < 0 ? 1 : 0);
    return static_cast<int>(std::clamp<std::int64_t>(quotient, INT_MIN, INT_MAX));
}

int Dpi::From(int pixels, Dpi other) const { return MulDivRounded(pixels, value_, other.value_); }
