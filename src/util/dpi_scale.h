// Lengths and positions in pixels of a 96-dpi screen, the unit of the
// window's layout and of its saved position, at another resolution and back.
#pragma once

inline constexpr int kBaseDpi = 96;

// A resolution in pixels per inch with the scaling of lengths between it and
// 96 dpi; below 1 it counts as 96.
class Dpi {
public:
    constexpr Dpi() = default;
    constexpr explicit Dpi(int value) : value_(value < 1 ? kBaseDpi : value) {}
    constexpr int Value() const { return value_; }
    // Lengths and positions are rounded to the nearest pixel with halves away
    // from zero, as Windows' MulDiv rounds, and held to the int range.
    // A length or position at 96 dpi at this resolution, and back.
    int Scale(int basePixels) const;
    int ToBase(int pixels) const;
    // A length at 96 dpi at this resolution rounded down, for a font whose
    // texts must still fit lengths scaled to the nearest pixel.
    int ScaleDown(int basePixels) const;
    // A length at another resolution at this one.
    int From(int pixels, Dpi other) const;
    constexpr bool operator==(const Dpi&) const = default;

private:
    int value_ = kBaseDpi;
};
