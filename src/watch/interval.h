// The check interval: its accepted range and its length in timer milliseconds.
#pragma once

#include <cstdint>

// 0.01 <= seconds <= 3600, both bounds inclusive; NaN is outside.
bool IntervalInRange(double seconds);
// seconds x 1000 taken exactly and rounded once to the nearest whole
// millisecond, a tie going to the even neighbour (0.0625 s -> 62 ms, 0.1875 s
// -> 188 ms). Negative and NaN give 0; results beyond the 32-bit range are
// clamped.
std::uint32_t IntervalMilliseconds(double seconds);
