// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <limits>

namespace kelvor {

// The solver, the record file and every comparison of results rely on the x87 80-bit extended
// real: a 64-bit significand with an explicit integer bit.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended real");
static_assert(std::endian::native == std::endian::little,
              "the record file stores little-endian numbers in native layout");

// π and 2π to the last bit of the extended real.
inline constexpr long double Pi = 3.1415926535897932385L;
inline constexpr long double TwoPi = 2 * Pi;

} // namespace kelvor
