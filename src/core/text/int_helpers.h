// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kelvor {

inline long double Power10(long double x) {
    return std::pow(10.0L, x);
}

inline bool InRange(int64_t value, int64_t low, int64_t high) {
    return low <= value && value <= high;
}

inline void ClampInt(int32_t& value, int32_t low, int32_t high) {
    value = std::min(high, std::max(low, value));
}

inline bool AllEqual(int32_t a, int32_t b, int32_t c) {
    return a == b && b == c;
}
inline bool AllEqual(int32_t a, int32_t b, int32_t c, int32_t d) {
    return AllEqual(a, b, c) && c == d;
}

} // namespace kelvor
