// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kelvor {

// The square wave's resolutions: groups of 256 odd harmonics, and the letter the plot shows.
struct SquareWaveResolution {
    int32_t groups;
    char letter;
};
inline constexpr std::array<SquareWaveResolution, 3> kSquareWaveResolutions{
    {{4, 'L'}, {16, 'M'}, {64, 'H'}}};

// The pulse's display expansions: groups of 256 harmonics, the plot's label, the period in
// pixels, the shift of the trace and where the ideal input pulse ends.
struct PulseExpansion {
    int32_t groups;
    const char* label;
    int period;
    int shift;
    int idealPulseEnd;
};
inline constexpr std::array<PulseExpansion, 3> kPulseExpansions{{
    {8, " *1", 512, -5, 73},
    {32, " *3", 1632, 1, 85},
    {128, "*10", 5474, 20, 123},
}};

inline std::optional<SquareWaveResolution> FindSquareWaveResolution(int32_t groups) {
    for (const SquareWaveResolution& resolution : kSquareWaveResolutions) {
        if (resolution.groups == groups) {
            return resolution;
        }
    }
    return std::nullopt;
}

inline std::optional<PulseExpansion> FindPulseExpansion(int32_t groups) {
    for (const PulseExpansion& expansion : kPulseExpansions) {
        if (expansion.groups == groups) {
            return expansion;
        }
    }
    return std::nullopt;
}

// Vertical scale for an amplitude of 1 at 0 dB: 139 pixels either way.
inline constexpr long double kSquareWaveUnitScale = 1.77L;
inline constexpr long double kPulseUnitScale = 0.885L;
// How far the graph gain may move from the default.
inline constexpr int32_t kSquareWaveGainSpread = 40;
inline constexpr int32_t kPulseGainSpread = 50;
// The pulse repeats every 100 widths.
inline constexpr long double kPulseDutyConstant = 0.01L;

} // namespace kelvor
