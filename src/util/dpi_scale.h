// Lengths and positions in pixels of a 96-dpi screen, the unit of the
// window's layout and of its saved position, at another resolution and back.
#pragma once

inline constexpr int kBaseDpi = 96;

// value × numerator / denominator, rounded to the nearest integer with halves
// away from zero as Windows' MulDiv rounds, and held to the int range. A
// denominator below 1 leaves the value as it is.
int MulDivRounded(int value, int numerator, int denominator);

// A length or position at 96 dpi taken to dpi, and one at dpi taken back to
// 96 dpi. A dpi below 1 counts as 96.
int ScaleToDpi(int basePixels, int dpi);
int ScaleToBase(int pixels, int dpi);
// A length at 96 dpi taken to dpi and rounded down, for a font whose texts
// must still fit lengths scaled to the nearest pixel.
int ScaleDownToDpi(int basePixels, int dpi);

// A resolution in pixels per inch with the scaling of lengths between it and
// 96 dpi; below 1 it counts as 96.
class Dpi {
public:
    constexpr Dpi() = default;
    constexpr explicit Dpi(int value) : value_(value < 1 ? kBaseDpi : value) {}
    constexpr int Value() const { return value_; }
    // A length or position at 96 dpi at this resolution, and back.
    int Scale(int basePixels) const { return ScaleToDpi(basePixels, value_); }
    int ToBase(int pixels) const { return ScaleToBase(pixels, value_); }
    // Rounded down, for a font: see ScaleDownToDpi.
    int ScaleDown(int basePixels) const { return ScaleDownToDpi(basePixels, value_); }
    // A length at another resolution at this one.
    int From(int pixels, Dpi other) const { return MulDivRounded(pixels, value_, other.value_); }
    constexpr bool operator==(const Dpi&) const = default;

private:
    int value_ = kBaseDpi;
};
