// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace kelvor {

enum class TimeResponseKind { SquareWave, Pulse };

inline constexpr int kHarmonicsPerGroup = 256;
// The largest harmonic gain starts here, so that a circuit passing nothing still has a finite
// default graph gain (5000 dB).
inline constexpr long double kLeastLargestGain = 1e-250L;

// The circuit's response at every harmonic of the last square-wave or pulse calculation, kept
// so that the graph can be redrawn at another gain without solving again. The square wave
// uses the odd harmonics 1, 3, 5, ...; the pulse every harmonic 1, 2, 3, ... and zero frequency.
struct HarmonicTable {
    TimeResponseKind kind = TimeResponseKind::SquareWave;
    int32_t groups = 0;             // Resolution (square wave) or Expansion (pulse)
    long double fundamental = 0;    // hertz: the square wave's frequency or the pulse repetition
    std::vector<long double> gain;  // plain ratio; index i holds harmonic HarmonicNumber(kind, i)
    std::vector<long double> phase; // radians
    long double largest = kLeastLargestGain;
    long double DcGain = 0; // pulse only
    bool complete = false;  // false after a calculation stopped part-way

    int Count() const { return groups * kHarmonicsPerGroup; }
};

inline int64_t HarmonicNumber(TimeResponseKind kind, int index) {
    return kind == TimeResponseKind::SquareWave ? 2 * int64_t{index} + 1 : int64_t{index} + 1;
}

// The calculation can run when the fundamental and its highest harmonic are finite frequencies
// above 0: a value typed at the edge of the number range must not reach the solver as an
// infinite frequency.
bool IsComputableFundamental(TimeResponseKind kind, int32_t groups, long double fundamental);

// 20 log10(1 / largest): the gain in dB that scales the largest harmonic to exactly 1.
long double DefaultGraphGain(const HarmonicTable& table);

// Medium and High resolutions sample half a column later than Low.
long double SquareWaveTimeOffset(int32_t resolution);

} // namespace kelvor
