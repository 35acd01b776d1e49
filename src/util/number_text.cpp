#include "util/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>
#include <vector>

#include "util/sjis.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads the leading spaces (0x20 only) and one optional sign; returns whether
// the number is negative and moves pos past what it read.
bool ReadSpacesAndSign(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) return text[pos++] == '-';
    return false;
}

}  // namespace

bool TextToBool(const std::string& text) {
    static constexpr std::array<std::string_view, 10> kTruthTokens = {
        "T",        "TR", "TRU", "TRUE", "1",
        "\x82\x50",  // full-width digit one
        "\x81\x9B",  // white circle
        "ON",
        "\x90\x5E",  // kanji "true"
        "\x90\xB3",  // kanji "correct"
    };
    const std::string prepared = UpperCase(RemoveBlanks(text));
    return std::find(kTruthTokens.begin(), kTruthTokens.end(), prepared) != kTruthTokens.end();
}

std::string BoolToText(bool value) { return value ? "1" : "0"; }

std::int32_t TextToInt(const std::string& text) {
    std::size_t pos = 0;
    const bool negative = ReadSpacesAndSign(text, pos);
    std::string_view rest = std::string_view(text).substr(pos);

    bool hex = false;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        hex = true;
        rest.remove_prefix(1);
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        hex = true;
        rest.remove_prefix(2);
    }
    if (rest.empty()) return 0;

    // The magnitude stays below 2^33, so it never overflows however many
    // digits (leading zeros included) the text has.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (char c : rest) {
        const int digit = hex ? HexDigitValue(c) : (IsDigit(c) ? c - '0' : -1);
        if (digit < 0) return 0;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (magnitude > limit) return 0;
    }
    // Two's complement: hexadecimal FFFFFFFF is -1, and "-" negates modulo 2^32.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

double TextToFloat(const std::string& text) {
    constexpr double kOverflow = std::numeric_limits<double>::infinity();
    const std::string_view view(text);
    std::size_t pos = 0;
    const bool negative = ReadSpacesAndSign(view, pos);
    const double zero = negative ? -0.0 : 0.0;

    const std::size_t intBegin = pos;
    while (pos < view.size() && IsDigit(view[pos])) ++pos;
    const std::string_view intDigits = view.substr(intBegin, pos - intBegin);
    std::string_view fracDigits;
    if (pos < view.size() && view[pos] == '.') {
        const std::size_t fracBegin = ++pos;
        while (pos < view.size() && IsDigit(view[pos])) ++pos;
        fracDigits = view.substr(fracBegin, pos - fracBegin);
    }

    // The exponent saturates far beyond any double; the digits of the mantissa
    // shift it by at most the text's length, which cannot come near the bound.
    constexpr std::int64_t kExponentBound = std::int64_t{1} << 52;
    std::int64_t exponent = 0;
    if (pos < view.size() && (view[pos] == 'e' || view[pos] == 'E')) {
        ++pos;
        bool expNegative = false;
        if (pos < view.size() && (view[pos] == '+' || view[pos] == '-')) {
            expNegative = view[pos++] == '-';
        }
        const std::size_t expBegin = pos;
        while (pos < view.size() && IsDigit(view[pos])) {
            exponent = std::min(exponent * 10 + (view[pos] - '0'), kExponentBound);
            ++pos;
        }
        if (pos == expBegin) return 0;
        if (expNegative) exponent = -exponent;
    }
    if (pos != view.size()) return 0;

    // value = 0.significant x 10^decimalExponent, significant without leading
    // or trailing zeros.
    std::string significant;
    significant.reserve(intDigits.size() + fracDigits.size());
    significant.append(intDigits).append(fracDigits);
    const std::size_t leadingZeros =
        std::min(significant.find_first_not_of('0'), significant.size());
    significant.erase(0, leadingZeros);
    const std::size_t lastNonZero = significant.find_last_not_of('0');
    significant.erase(lastNonZero == std::string::npos ? 0 : lastNonZero + 1);
    if (significant.empty()) return zero;
    const std::int64_t decimalExponent = static_cast<std::int64_t>(intDigits.size()) -
                                         static_cast<std::int64_t>(leadingZeros) + exponent;

    // Below 10^-330 the value rounds to zero, from 10^309 on it overflows.
    if (decimalExponent < -330) return zero;
    if (decimalExponent > 309) return negative ? -kOverflow : kOverflow;

    // A halfway point between two doubles needs at most 767 significant digits:
    // digits beyond 800 only tell whether the rest is non-zero, which one
    // non-zero sticky digit says as well. This bounds the work for any text.
    constexpr std::size_t kMaxDigits = 800;
    if (significant.size() > kMaxDigits) {
        significant.resize(kMaxDigits);
        significant.push_back('1');
    }
    std::string normal = "0." + significant + "e" + std::to_string(decimalExponent);
    double magnitude = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Reported both for a value beyond the largest double and for one
        // that rounds to zero; the decimal exponent tells which.
        if (decimalExponent > 0) return negative ? -kOverflow : kOverflow;
        return zero;
    }
    if (result.ec != std::errc()) return 0;
    return negative ? -magnitude : magnitude;
}

namespace {

constexpr int kSignificantDigits = 15;

// The leading significant digits of a positive finite value's exact decimal
// expansion, cut (not rounded) after count digits, and the exponent e with
// value = 0.digits x 10^e. Exact arithmetic on the value's binary form: the
// library's general float formatting would weigh more than the program.
std::string ExactDigits(double value, std::size_t count, int& exponent) {
    int binaryExponent = 0;
    const double fraction = std::frexp(value, &binaryExponent);  // in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = binaryExponent - 53;  // value = mantissa x 2^shift
    // value = n x 10^-scale, n = mantissa x 2^shift or mantissa x 5^-shift,
    // held in base 10^9, least significant limb first.
    constexpr std::uint32_t kBase = 1000000000;
    std::vector<std::uint32_t> n;
    for (std::uint64_t m = mantissa; m != 0; m /= kBase) n.push_back(m % kBase);
    const int scale = shift < 0 ? -shift : 0;
    for (int left = shift < 0 ? -shift : shift; left > 0;) {
        // 2^30 and 5^13 times a limb, plus a carry, stay within 64 bits.
        const int step = std::min(left, shift < 0 ? 13 : 30);
        std::uint64_t factor = 1;
        for (int i = 0; i < step; ++i) factor *= shift < 0 ? 5 : 2;
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : n) {
            const std::uint64_t product = limb * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        for (; carry != 0; carry /= kBase) n.push_back(static_cast<std::uint32_t>(carry % kBase));
        left -= step;
    }
    std::string digits = std::to_string(n.back());
    for (std::size_t i = n.size() - 1; i-- > 0;) {
        const std::string limb = std::to_string(n[i]);
        digits += std::string(9 - limb.size(), '0') + limb;
    }
    exponent = static_cast<int>(digits.size()) - scale;
    digits.resize(count, '0');
    return digits;
}

}  // namespace

std::string FloatToText(double value) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "NAN";
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) return sign + "INF";

    // Exact: rounding below looks at the true 16th digit, never at a digit
    // that an earlier rounding produced.
    int exponent = 0;  // value = 0.digits x 10^exponent
    std::string digits = ExactDigits(std::fabs(value), kSignificantDigits + 1, exponent);

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
