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
