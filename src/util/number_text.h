// Numbers and truth values as text, as the settings file and the interval
// field hold them. Texts are code page 932 bytes.
#pragma once

#include <cstdint>
#include <string>

// A decimal integer (or hexadecimal after "$", "x" or "0x") with leading
// spaces and a sign; 0 for anything else or a value outside 32 bits.
std::int32_t TextToInt(const std::string& text);
// A decimal number with leading spaces, a sign, a fraction and an exponent;
// 0 for anything else. A well-formed number above the largest double gives
// infinity with its sign, as a double's own arithmetic overflows: no text
// gives an infinite value otherwise ("INF" is not a number here).
double TextToFloat(const std::string& text);
// True for the truth tokens ("1", "T", "TRUE", "ON", ...), blanks removed and
// letters upper-cased first.
bool TextToBool(const std::string& text);
std::string BoolToText(bool value);
// The interval's text form: 15 significant digits, fixed notation for decimal
// exponents -3 to 15, scientific notation ("1E-5") otherwise, "." as decimal
// separator.
std::string FloatToText(double value);
