// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_markers.h"

#include "bode/significant_format.h"
#include "messages.h"

#include <cmath>
#include <optional>

namespace kelvor {
namespace {

constexpr int kSignificantDigits = 5;
// Halving the bracket this often leaves it narrower than one unit in the last place.
constexpr int kBisections = 80;
constexpr int kGoldenSteps = 120;

// The crossing of gain - level between two grid frequencies whose gains lie on either side.
long double RefineCrossing(long double low, long double high, long double level,
                           const ResponseProbe& probe) {
    const bool lowAbove = probe(low).Gain >= level;
    long double logLow = std::log(low);
    long double logHigh = std::log(high);
    for (int step = 0; step < kBisections; ++step) {
        const long double middle = (logLow + logHigh) / 2;
        if (middle <= logLow || middle >= logHigh) {
            break;
        }
        if ((probe(std::exp(middle)).Gain >= level) == lowAbove) {
            logLow = middle;
        } else {
            logHigh = middle;
        }
    }
    return std::exp((logLow + logHigh) / 2);
}

// The highest gain between two grid frequencies around the grid's highest point.
long double RefinePeak(long double low, long double high, const ResponseProbe& probe) {
    const long double ratio = (std::sqrt(5.0L) - 1) / 2;
    long double a = std::log(low);
    long double b = std::log(high);
    long double c = b - ratio * (b - a);
    long double d = a + ratio * (b - a);
    long double gainC = probe(std::exp(c)).Gain;
    long double gainD = probe(std::exp(d)).Gain;
    for (int step = 0; step < kGoldenSteps && c < d; ++step) {
        if (gainC >= gainD) {
            b = d;
            d = c;
            gainD = gainC;
            c = b - ratio * (b - a);
            gainC = probe(std::exp(c)).Gain;
        } else {
            a = c;
            c = d;
            gainC = gainD;
            d = a + ratio * (b - a);
            gainD = probe(std::exp(d)).Gain;
        }
    }
    return std::exp((a + b) / 2);
}

// The crossing of `level` nearest to the peak, searching downwards or upwards. The peak may lie
// between grid points and far above both: the last frequency at or above the level starts as the
// peak itself, so that a band narrower than the grid step is bracketed too.
std::optional<long double> FindCrossing(const BodeCurve& curve, long double peakFrequency,
                                        bool upwards, long double level,
                                        const ResponseProbe& probe) {
    const std::size_t count = curve.size();
    long double above = peakFrequency;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = upwards ? step : count - 1 - step;
        const long double frequency = curve.frequency[index];
        if (upwards ? frequency <= peakFrequency : frequency >= peakFrequency) {
            continue;
        }
        if (curve.gain[index] < level) {
            return upwards ? RefineCrossing(above, frequency, level, probe)
                           : RefineCrossing(frequency, above, level, probe);
        }
        above = frequency;
    }
    return std::nullopt;
}

BodeMarker Found(MarkerKind kind, const char* name, long double frequency, long double value,
                 std::string text) {
    return {kind, name, true, frequency, value, std::move(text)};
}

BodeMarker Missing(MarkerKind kind, const char* name, const char* why) {
    return {kind, name, false, 0, 0, why};
}

std::string Hertz(long double value) {
    return FormatSignificant(value, kSignificantDigits, "Hz");
}

std::string Decibels(long double value) {
    return FormatSignificant(value, kSignificantDigits, "dB", false);
}

} // namespace

long double HalfPowerDrop() {
    return 10 * std::log10(0.5L);
}

std::vector<BodeMarker> FindMarkers(const BodeCurve& curve, const ResponseProbe& probe) {
    std::vector<BodeMarker> markers;
    if (curve.size() < 2) {
        return markers;
    }
    const std::size_t count = curve.size();
    std::size_t top = 0;
    for (std::size_t index = 1; index < count; ++index) {
        if (curve.gain[index] > curve.gain[top]) {
            top = index;
        }
    }
    long double peakFrequency = curve.frequency[top];
    long double peakGain = curve.gain[top];
    if (top > 0 && top + 1 < count) {
        peakFrequency = RefinePeak(curve.frequency[top - 1], curve.frequency[top + 1], probe);
        peakGain = probe(peakFrequency).Gain;
        if (peakGain < curve.gain[top]) { // a flat top: the grid point is as good
            peakFrequency = curve.frequency[top];
            peakGain = curve.gain[top];
        }
    }
    markers.push_back(Found(MarkerKind::Peak, "Peak gain", peakFrequency, peakGain,
                            Decibels(peakGain) + " at " + Hertz(peakFrequency)));

    const long double level = peakGain + HalfPowerDrop();
    const auto lower = FindCrossing(curve, peakFrequency, false, level, probe);
    const auto upper = FindCrossing(curve, peakFrequency, true, level, probe);
    markers.push_back(
        lower ? Found(MarkerKind::LowerHalfPower, "\u22123 dB low", *lower, level, Hertz(*lower))
              : Missing(MarkerKind::LowerHalfPower, "\u22123 dB low",
                        "no lower \u22123 dB point in range"));
    markers.push_back(
        upper ? Found(MarkerKind::UpperHalfPower, "\u22123 dB high", *upper, level, Hertz(*upper))
              : Missing(MarkerKind::UpperHalfPower, "\u22123 dB high",
                        "no upper \u22123 dB point in range"));

    if (lower && upper) {
        const long double bandwidth = *upper - *lower;
        const long double centre = std::sqrt(*lower * *upper);
        const long double q = centre / bandwidth;
        markers.push_back(
            Found(MarkerKind::Bandwidth, "Bandwidth", 0, bandwidth, Hertz(bandwidth)));
        markers.push_back(Found(MarkerKind::Centre, "Centre", centre, centre, Hertz(centre)));
        markers.push_back(
            Found(MarkerKind::Q, "Q", 0, q, FormatSignificant(q, kSignificantDigits, "", false)));
    } else {
        // A low-pass seen from its flat part: its bandwidth reaches down to 0 Hz.
        if (upper && top == 0) {
            markers.push_back(Found(MarkerKind::Bandwidth, "Bandwidth", 0, *upper,
                                    Hertz(*upper) + " (from 0 Hz)"));
        } else {
            markers.push_back(Missing(MarkerKind::Bandwidth, "Bandwidth",
                                      upper ? "no lower \u22123 dB point in range"
                                            : "no upper \u22123 dB point in range"));
        }
        markers.push_back(Missing(MarkerKind::Centre, "Centre", "no band-pass in range"));
        markers.push_back(Missing(MarkerKind::Q, "Q", "no band-pass in range"));
    }

    std::optional<long double> unity;
    for (std::size_t index = 0; index + 1 < count && !unity; ++index) {
        if (curve.gain[index] == 0) {
            unity = curve.frequency[index];
        } else if ((curve.gain[index] > 0) != (curve.gain[index + 1] > 0)) {
            unity = RefineCrossing(curve.frequency[index], curve.frequency[index + 1], 0, probe);
        }
    }
    if (unity) {
        const long double phase = probe(*unity).Phase;
        markers.push_back(Found(MarkerKind::UnityGain, "0 dB crossing", *unity, phase,
                                Hertz(*unity) + ", phase " +
                                    FormatSignificant(phase, kSignificantDigits, "\u00b0", false)));
    } else {
        markers.push_back(
            Missing(MarkerKind::UnityGain, "0 dB crossing", "no 0 dB crossing in range"));
    }
    return markers;
}

std::vector<BodeMarker> FindMarkers(const BodeCurve& curve, const LoadedCircuit& circuit,
                                    ResponseSolver& solver) {
    QuietMessages quiet;
    return FindMarkers(curve, [&](long double frequency) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, quiet);
        return point;
    });
}

} // namespace kelvor
