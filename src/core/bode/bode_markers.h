// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"
#include "bode/marker_search.h"

#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// The response at any frequency, for placing a marker between grid points.
using ResponseProbe = std::function<ResponsePoint(long double frequency)>;

enum class MarkerKind { Peak, LowerHalfPower, UpperHalfPower, Bandwidth, Centre, Q, UnityGain };

struct BodeMarker {
    MarkerKind kind = MarkerKind::Peak;
    std::string name; // "Peak gain", "-3 dB low", ...
    bool found = false;
    long double frequency = 0; // Hz; 0 for a quantity without a place (bandwidth, Q)
    long double value = 0;     // in the unit of `text`
    std::string text;          // the value with 5 significant digits, or why there is none
};

// The automatic markers of a curve (see FindMarkerPlaces): the gain peak, the half-power points
// nearest below and above it, the bandwidth between them (from 0 Hz for a passband at the
// start), the centre frequency (geometric mean) and Q of a band-pass, and the first 0 dB
// crossing with the phase there. A peak is a maximum inside the range or a flat end (a
// passband, whose half-power points the lines call relative to it); a largest gain at an end
// that still rises beyond it is no peak, and the peak's line says where it lies. A marker that
// the range does not hold says so.
std::vector<BodeMarker> FindMarkers(const BodeCurve& curve, const ResponseProbe& probe);

// The same with the solver as the probe. Its messages were shown while the curve was computed,
// so the extra solves between grid points keep quiet.
std::vector<BodeMarker> FindMarkers(const BodeCurve& curve, const LoadedCircuit& circuit,
                                    ResponseSolver& solver);

} // namespace kelvor
