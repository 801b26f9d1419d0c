// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelvor {

// Node numbers run from 1 to this; node 0 does not exist.
inline constexpr int32_t kHighestNodeNumber = 100;
// The least resistance of a coil or winding: smaller values, zero among them, become this.
inline constexpr long double Rmin = 1e-6L;

} // namespace kelvor
