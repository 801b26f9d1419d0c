// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace kelvor {

// The gain (dB) at any frequency, for searching between the points of a curve.
using GainProbe = std::function<long double(long double frequency)>;

// An end of the range holding the largest gain is a passband when the gain changes there by
// less than this many dB per decade.
inline constexpr long double kFlatEndSlope = 0.1L;

enum class PeakPlace {
    Inside,      // a maximum between the ends
    FlatStart,   // a passband at the start
    FlatEnd,     // a passband at the end
    RisingBelow, // largest at the start, and higher still below it: no peak
    RisingAbove, // largest at the end, and higher still above it: no peak
};

struct MarkerPlaces {
    PeakPlace place = PeakPlace::Inside;
    long double peakFrequency = 0; // the peak's, or where the largest gain lies
    long double peakGain = 0;
    // Half power below the peak (or the passband), the nearest on either side; none without a
    // peak.
    std::optional<long double> lowerHalfPower;
    std::optional<long double> upperHalfPower;

    bool HasPeak() const {
        return place != PeakPlace::RisingBelow && place != PeakPlace::RisingAbove;
    }
};

// Half power below the peak: 10 log10(1/2), about -3.0103 dB.
long double HalfPowerDrop();

// The peak and the half-power points of a curve sampled at `frequency` (at least two, rising)
// with one gain each, every place refined with `probe` between the samples to the precision of
// the number type (the peak's frequency to some 10 digits: the top of a peak is flat). The
// samples must be close enough that the largest one lies next to the true maximum, as adaptive
// points are.
MarkerPlaces FindMarkerPlaces(const std::vector<long double>& frequency, const long double* gain,
                              const GainProbe& probe);

// The first frequency where the gain passes through 0 dB, refined with `probe`.
std::optional<long double> FindUnityGain(const std::vector<long double>& frequency,
                                         const long double* gain, const GainProbe& probe);

} // namespace kelvor
