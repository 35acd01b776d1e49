#include "util/float_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;
// A double's exact decimal expansion has at most 767 significant digits, so
// this many digits after the point in scientific form are exact.
constexpr int kExactPrecision = 770;

}  // namespace

std::string FloatToText(double value) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "NAN";
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) return sign + "INF";

    // d.ddd...e±x, exact: rounding below looks at the true 16th digit, never at
    // a digit that an earlier rounding produced.
    char buffer[kExactPrecision + 16];
    auto converted = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, kExactPrecision);
    if (converted.ec != std::errc()) return sign + "0";  // cannot happen: the buffer fits
    const std::string expansion(buffer, converted.ptr);
    const std::size_t ePos = expansion.find('e');
    std::string digits = expansion.substr(0, 1) + expansion.substr(2, ePos - 2);
    int exponent = std::stoi(expansion.substr(ePos + 1)) + 1;  // value = 0.digits x 10^exponent

    const bool roundUp = digits[kSignificantDigits] >= '5';
    digits.resize(kSignificantDigits);
    if (roundUp) {
        int i = kSignificantDigits - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits.insert(digits.begin(), '1');  // 9.99...95 became 10.0
            digits.pop_back();
            ++exponent;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    const int count = static_cast<int>(digits.size());

    std::string text;
    if (exponent >= -3 && exponent <= 15) {
        if (exponent >= 1) {
            if (count <= exponent) {
                text = digits + std::string(exponent - count, '0');
            } else {
                text = digits.substr(0, exponent) + "." + digits.substr(exponent);
            }
        } else {
            text = "0." + std::string(-exponent, '0') + digits;
        }
    } else {
        text = digits.substr(0, 1);
        if (count > 1) text += "." + digits.substr(1);
        text += "E" + std::to_string(exponent - 1);
    }
    return sign + text;
}
