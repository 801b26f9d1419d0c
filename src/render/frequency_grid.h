// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelvor::render {

// The frequency grid type of a scale: 0 user-defined, 1 and 2 one decade starting at 3 or 1
// times a power of ten, 3 two decades, 4 three, 5 five, 6 six.
int GraphKindOf(int32_t fcode);

inline constexpr int kGridColumnsPerRow = 11;
using GridRow = std::array<int, kGridColumnsPerRow>;

// Graph columns (pixel x minus 37) of the major lines of each GraphKind; repeated values redraw
// the same line.
extern const std::array<GridRow, 7> kMajorColumns;
// Rows 0 to 6 are the minor columns of the GraphKind of the same number; rows 7 and 8 are the
// further minors of GraphKind 6.
extern const std::array<GridRow, 9> kMinorColumns;

// The minor columns of GraphKind 4 (20, 200 and 2000 times the decade) that are also drawn as
// major lines.
inline constexpr std::array<int, 3> kKind4ExtraMajorColumns = {202, 394, 586};

// The label row printed under the frequency axis for an FCode of 1 to 52, each label under its
// major line in the fixed-pitch font. FCode 0 uses the labels built during its sweep instead.
const std::string& FreqLabelRow(int32_t fcode);

} // namespace kelvor::render
