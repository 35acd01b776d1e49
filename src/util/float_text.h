// The text form of a floating-point value used for the interval: 15
// significant digits, fixed notation for decimal exponents -3 to 15,
// scientific notation ("1E-5") otherwise, "." as decimal separator.
#pragma once

#include <string>

std::string FloatToText(double value);
