// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeresp/harmonic_table.h"

#include <vector>

namespace kelvor {

// The square-wave trace is computed for t = -26 .. 227, one pixel column each; half a period
// spans 253 columns.
inline constexpr int kSquareFirstT = -26;
inline constexpr int kSquareLastT = 227;
inline constexpr int kSquareHalfPeriod = 253;

// The pulse trace is computed for t = -30 - h .. 539 - h: 570 columns.
inline constexpr int kPulseColumns = 570;
inline constexpr int kPulseFirstTBeforeShift = -30;

// The lowest and highest rows a trace may reach.
inline constexpr int kTraceTopRow = 47;
inline constexpr int kTraceBottomRow = 437;

// The sums of the series per column, index 0 at the first t. The fast forms fold the harmonics
// by the period of the column grid: the angle of harmonic k at column t repeats with k modulo
// the period in columns, so the harmonics are first summed into one coefficient pair per
// residue, and each column then needs one table lookup per residue instead of a sine per
// harmonic. The angles come from an exact integer reduction, which the direct forms cannot
// match for high harmonics, so the two agree to rounding and draw the same pixels.

// S(t) = sum over k of -gain sin(k q (t + offset) + phase) / k, q = pi / 253.
std::vector<long double> SquareWaveSums(const HarmonicTable& table);
// P(t) = -(DcGain theta) / 2 - sum over k of cos(2 pi k t / N + phase) sin(k theta) gain / k,
// theta = pi / 100, for t = -30 - shift .. 539 - shift.
std::vector<long double> PulseSums(const HarmonicTable& table, int period, int shift);

// The same sums term by term in extended precision, group by group, as written.
std::vector<long double> SquareWaveSumsDirect(const HarmonicTable& table);
std::vector<long double> PulseSumsDirect(const HarmonicTable& table, int period, int shift);

// Round((sum * scale + 1) * 100 + baseline), halves to even, limited to rows 47 .. 437.
int TraceRow(long double sum, long double scale, int baseline);

} // namespace kelvor
