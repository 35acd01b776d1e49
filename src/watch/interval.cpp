#include "watch/interval.h"

#include <cmath>

bool IntervalInRange(double seconds) {
    // The bounds are meant as the exact decimals 0.01 and 3600. The double
    // nearest 0.01 lies above the real 0.01 and the next double below it lies
    // below, so comparing doubles against the literal 0.01 decides exactly as
    // a comparison with the real 0.01 would: the text "0.01" passes, anything
    // that reads below it does not. 3600 is exact.
    return seconds >= 0.01 && seconds <= 3600.0;
}

std::uint32_t IntervalMilliseconds(double seconds) {
    constexpr double kMax = 4294967295.0;
    if (!(seconds > 0.0)) return 0;
    if (seconds >= kMax / 1000.0) return static_cast<std::uint32_t>(kMax);

    // product + error is the exact value of seconds * 1000 (an error-free
    // product), so the one rounding below sees the true product, not a
    // product already rounded to a double.
    const double product = seconds * 1000.0;
    const double error = std::fma(seconds, 1000.0, -product);
    double whole = std::floor(product);
    // An integral product stays: its error is far below half a millisecond.
    // Below 2^32 a non-integral product's error cannot carry the true value
    // across an integer, and (product - whole) - 0.5 is exact; when it is 0,
    // the error's sign decides, and only a true tie goes to the even side.
    if (product != whole) {
        const double fromHalf = (product - whole) - 0.5;
        const bool tie = fromHalf == 0.0 && error == 0.0;
        const bool up = fromHalf > 0.0 || (fromHalf == 0.0 && error > 0.0) ||
                        (tie && std::fmod(whole, 2.0) != 0.0);
        if (up) whole += 1.0;
    }
    return static_cast<std::uint32_t>(whole);
}
