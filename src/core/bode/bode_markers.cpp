// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_markers.h"

#include "bode/significant_format.h"
#include "messages.h"

#include <cmath>
#include <optional>
#include <utility>

namespace kelvor {
namespace {

constexpr int kSignificantDigits = 5;
constexpr const char* kNoPeak = "no peak in range";

BodeMarker Found(MarkerKind kind, const char* name, long double frequency, long double value,
                 std::string text) {
    return {kind, name, true, frequency, value, std::move(text)};
}

BodeMarker Missing(MarkerKind kind, const char* name, std::string why) {
    return {kind, name, false, 0, 0, std::move(why)};
}

std::string Hertz(long double value) {
    return FormatSignificant(value, kSignificantDigits, "Hz");
}

std::string Decibels(long double value) {
    return FormatSignificant(value, kSignificantDigits, "dB", false);
}

std::string PeakText(const MarkerPlaces& places) {
    const std::string where = Decibels(places.peakGain) + " at ";
    switch (places.place) {
    case PeakPlace::Inside:
        return where + Hertz(places.peakFrequency);
    case PeakPlace::FlatStart:
        return where + Hertz(places.peakFrequency) + " (a flat passband at the start)";
    case PeakPlace::FlatEnd:
        return where + Hertz(places.peakFrequency) + " (a flat passband at the end)";
    case PeakPlace::RisingBelow:
        return std::string(kNoPeak) + " (largest " + where + "the start, " +
               Hertz(places.peakFrequency) + ", still rising towards lower frequencies)";
    case PeakPlace::RisingAbove:
        return std::string(kNoPeak) + " (largest " + where + "the end, " +
               Hertz(places.peakFrequency) + ", still rising towards higher frequencies)";
    }
    return {};
}

// The peak and every marker that hangs on it.
void AddPeakMarkers(const MarkerPlaces& places, std::vector<BodeMarker>& markers) {
    if (!places.HasPeak()) {
        markers.push_back(Missing(MarkerKind::Peak, "Peak gain", PeakText(places)));
        markers.back().frequency = places.peakFrequency;
        markers.back().value = places.peakGain;
        for (const auto& [kind, name] :
             {std::pair{MarkerKind::LowerHalfPower, "\u22123 dB low"},
              std::pair{MarkerKind::UpperHalfPower, "\u22123 dB high"},
              std::pair{MarkerKind::Bandwidth, "Bandwidth"},
              std::pair{MarkerKind::Centre, "Centre"}, std::pair{MarkerKind::Q, "Q"}}) {
            markers.push_back(Missing(kind, name, kNoPeak));
        }
        return;
    }
    markers.push_back(Found(MarkerKind::Peak, "Peak gain", places.peakFrequency, places.peakGain,
                            PeakText(places)));
    const bool passband = places.place != PeakPlace::Inside;
    const long double level = places.peakGain + HalfPowerDrop();
    const auto halfPower = [&](MarkerKind kind, const char* name,
                               const std::optional<long double>& frequency, const char* why) {
        return frequency ? Found(kind, name, *frequency, level,
                                 Hertz(*frequency) + (passband ? " (below the passband)" : ""))
                         : Missing(kind, name, why);
    };
    const auto& lower = places.lowerHalfPower;
    const auto& upper = places.upperHalfPower;
    markers.push_back(halfPower(MarkerKind::LowerHalfPower, "\u22123 dB low", lower,
                                "no lower \u22123 dB point in range"));
    markers.push_back(halfPower(MarkerKind::UpperHalfPower, "\u22123 dB high", upper,
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
        return;
    }
    // A low-pass seen from its passband: its bandwidth reaches down to 0 Hz.
    if (upper && places.place == PeakPlace::FlatStart) {
        markers.push_back(
            Found(MarkerKind::Bandwidth, "Bandwidth", 0, *upper, Hertz(*upper) + " (from 0 Hz)"));
    } else {
        markers.push_back(Missing(MarkerKind::Bandwidth, "Bandwidth",
                                  upper ? "no lower \u22123 dB point in range"
                                        : "no upper \u22123 dB point in range"));
    }
    markers.push_back(Missing(MarkerKind::Centre, "Centre", "no band-pass in range"));
    markers.push_back(Missing(MarkerKind::Q, "Q", "no band-pass in range"));
}

} // namespace

std::vector<BodeMarker> FindMarkers(const BodeCurve& curve, const ResponseProbe& probe) {
    std::vector<BodeMarker> markers;
    if (curve.size() < 2) {
        return markers;
    }
    const GainProbe gainAt = [&](long double frequency) { return probe(frequency).Gain; };
    AddPeakMarkers(FindMarkerPlaces(curve.frequency, curve.gain.data(), gainAt), markers);
    if (const auto unity = FindUnityGain(curve.frequency, curve.gain.data(), gainAt)) {
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
