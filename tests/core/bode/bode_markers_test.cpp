// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_markers.h"

#include "bode/bode_grid.h"
#include "core/timeresp/test_circuits.h"
#include "support/recording_messages.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace kelvor {
namespace {

using testing::RecordingMessages;

constexpr long double kTwoPi = 2 * std::numbers::pi_v<long double>;

struct Analysed {
    std::vector<BodeMarker> markers;
    const BodeMarker& operator[](MarkerKind kind) const {
        for (const BodeMarker& marker : markers) {
            if (marker.kind == kind) {
                return marker;
            }
        }
        throw std::runtime_error("no such marker");
    }
};

Analysed Markers(const LoadedCircuit& circuit, FrequencyRange range,
                 int pointsPerDecade = kDefaultPointsPerDecade, BodeCurve* drawn = nullptr) {
    ResponseSolver solver;
    RecordingMessages messages;
    const BodeRun run =
        ComputeBodeCurve(circuit, LogFrequencyGrid(range, pointsPerDecade), solver, messages);
    if (drawn != nullptr) {
        *drawn = run.curve;
    }
    ResponseProbe probe = [&](long double frequency) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, messages);
        return point;
    };
    return {FindMarkers(run.curve, probe)};
}

// L (with its series resistance rl) and C in series from the input to the output, R from the
// output to common.
LoadedCircuit SeriesBandPass(long double r, long double rl, long double l, long double c) {
    return testing::CircuitBuilder(1, 2, 3)
        .Add('L', {1, 4}, {l, rl})
        .Add('C', {4, 2}, {c})
        .Add('R', {2, 3}, {r})
        .circuit();
}

double Relative(long double actual, long double expected) {
    return static_cast<double>(std::fabs(actual / expected - 1));
}

TEST(BodeMarkers, RcLowPassCornerAndBandwidthFromZero) {
    const long double r = 1000, c = 100e-9L;
    const long double corner = 1 / (kTwoPi * r * c);
    const Analysed found = Markers(testing::RcLowPass(r, c), {10, 1e6L});
    EXPECT_LT(Relative(found[MarkerKind::UpperHalfPower].frequency, corner), 1e-4);
    EXPECT_LT(Relative(found[MarkerKind::Bandwidth].value, corner), 1e-4);
    EXPECT_TRUE(found[MarkerKind::Bandwidth].text.ends_with(" kHz (from 0 Hz)"));
    // A low-pass's passband at the range's start, the half-power point below it.
    EXPECT_EQ(found[MarkerKind::Peak].frequency, 10);
    EXPECT_TRUE(
        found[MarkerKind::Peak].text.ends_with("at 10.000 Hz (a flat passband at the start)"))
        << found[MarkerKind::Peak].text;
    EXPECT_TRUE(found[MarkerKind::UpperHalfPower].text.ends_with(" kHz (below the passband)"));
    EXPECT_FALSE(found[MarkerKind::LowerHalfPower].found);
    EXPECT_EQ(found[MarkerKind::Centre].text, "no band-pass in range");
}

TEST(BodeMarkers, SeriesResonantBandPass) {
    // f0 = 1 / (2 pi sqrt(LC)), bandwidth (R + rl) / (2 pi L), Q = f0 / bandwidth, peak gain
    // R / (R + rl) at f0.
    const long double r = 100, rl = 1, l = 10e-3L, c = 10e-9L;
    const LoadedCircuit circuit = SeriesBandPass(r, rl, l, c);
    const long double f0 = 1 / (kTwoPi * std::sqrt(l * c));
    const long double bandwidth = (r + rl) / (kTwoPi * l);
    const Analysed found = Markers(circuit, {100, 1e6L});
    // Refined with the solver, the markers are as exact as the formulas' own rounding allows.
    EXPECT_LT(Relative(found[MarkerKind::Peak].frequency, f0), 1e-7);
    EXPECT_NEAR(static_cast<double>(found[MarkerKind::Peak].value),
                static_cast<double>(20 * std::log10(r / (r + rl))), 1e-12);
    EXPECT_LT(Relative(found[MarkerKind::Bandwidth].value, bandwidth), 1e-9);
    EXPECT_LT(Relative(found[MarkerKind::Centre].frequency, f0), 1e-9);
    EXPECT_LT(Relative(found[MarkerKind::Q].value, f0 / bandwidth), 1e-9);
    EXPECT_EQ(found[MarkerKind::Q].text, "9.9010"); // 1000 / 101
}

// The same band-pass with a band a thousandth of a grid step wide: the half-power points lie
// between the peak and its neighbouring grid points, and are found there.
TEST(BodeMarkers, ResonanceNarrowerThanTheGridStep) {
    const long double r = 0.001L, rl = 1e-6L, l = 10e-3L, c = 10e-9L;
    const LoadedCircuit circuit = SeriesBandPass(r, rl, l, c);
    const long double f0 = 1 / (kTwoPi * std::sqrt(l * c));
    const long double bandwidth = (r + rl) / (kTwoPi * l);
    const Analysed found = Markers(circuit, {100, 1e6L});
    EXPECT_LT(Relative(found[MarkerKind::Bandwidth].value, bandwidth), 1e-9);
    EXPECT_LT(Relative(found[MarkerKind::Centre].frequency, f0), 1e-12);
    EXPECT_LT(found[MarkerKind::LowerHalfPower].frequency, found[MarkerKind::Peak].frequency);
    EXPECT_GT(found[MarkerKind::UpperHalfPower].frequency, found[MarkerKind::Peak].frequency);
}

TEST(BodeMarkers, MissingMarkersSayWhy) {
    // Far below the corner of the low-pass: flat just under 0 dB, nothing to find.
    const Analysed found = Markers(testing::RcLowPass(1000, 100e-9L), {1, 10});
    struct Case {
        MarkerKind kind;
        const char* text;
    } cases[] = {{MarkerKind::LowerHalfPower, "no lower \u22123 dB point in range"},
                 {MarkerKind::UpperHalfPower, "no upper \u22123 dB point in range"},
                 {MarkerKind::Bandwidth, "no upper \u22123 dB point in range"},
                 {MarkerKind::Q, "no band-pass in range"},
                 {MarkerKind::UnityGain, "no 0 dB crossing in range"}};
    for (const Case& c : cases) {
        EXPECT_FALSE(found[c.kind].found) << c.text;
        EXPECT_EQ(found[c.kind].text, c.text);
    }
}

TEST(BodeMarkers, UnityGainCrossingAndItsPhase) {
    // The sample filter rises from -37.47 dB at 100 Hz through 0 dB to a resonant peak above
    // 0 dB below 1 kHz (-0.6045 dB there).
    const LoadedCircuit circuit = testing::SampleCircuit();
    const Analysed found = Markers(circuit, {100, 1000});
    const BodeMarker& unity = found[MarkerKind::UnityGain];
    ASSERT_TRUE(unity.found) << unity.text;
    ResponseSolver solver;
    RecordingMessages messages;
    ResponsePoint point;
    solver.ComputeResponse(circuit, unity.frequency, ResponseForm::Display, point, messages);
    EXPECT_NEAR(static_cast<double>(point.Gain), 0.0, 1e-12);
    EXPECT_EQ(unity.value, point.Phase);
}

// A largest gain at an end of the range that still rises beyond it is no peak, and nothing
// hangs on it: a 98-section RC ladder far above its corner, the IF transformer below its
// resonance.
TEST(BodeMarkers, NoPeakWhereTheGainStillRisesBeyondTheRange) {
    const struct {
        LoadedCircuit circuit;
        FrequencyRange range;
        const char* peak; // the peak line from its end on
    } cases[] = {{testing::RcLadder(98, 1000, 10e-9L),
                  {100e3L, 2e6L},
                  "at the start, 100.00 kHz, still rising towards lower frequencies)"},
                 {testing::ExampleCircuit("IFTRANS.DAT"),
                  {10, 100e3L},
                  "at the end, 100.00 kHz, still rising towards higher frequencies)"}};
    for (const auto& c : cases) {
        const Analysed found = Markers(c.circuit, c.range);
        const BodeMarker& peak = found[MarkerKind::Peak];
        EXPECT_FALSE(peak.found);
        EXPECT_TRUE(peak.text.starts_with("no peak in range (largest -")) << peak.text;
        EXPECT_TRUE(peak.text.ends_with(c.peak)) << peak.text;
        for (MarkerKind kind : {MarkerKind::LowerHalfPower, MarkerKind::UpperHalfPower,
                                MarkerKind::Bandwidth, MarkerKind::Centre, MarkerKind::Q}) {
            EXPECT_FALSE(found[kind].found);
            EXPECT_EQ(found[kind].text, "no peak in range");
        }
    }
}

// At one or two points per decade the sample's markers are those of a nodal solve at any
// density: the peak 1.8336 dB at 375.96 Hz and the 0 dB crossing at 327.31 Hz.
TEST(BodeMarkers, RightAtTheLeastDensities) {
    for (int pointsPerDecade : {1, 2}) {
        const Analysed found = Markers(testing::SampleCircuit(), {10, 100e3L}, pointsPerDecade);
        EXPECT_EQ(found[MarkerKind::Peak].text, "1.8336 dB at 375.96 Hz") << pointsPerDecade;
        EXPECT_TRUE(found[MarkerKind::UnityGain].text.starts_with("327.31 Hz, phase "))
            << found[MarkerKind::UnityGain].text;
    }
}

// The IF transformer's resonance is far narrower than the grid step: the drawn curve reaches the
// marker's peak (22.05 dB, by a nodal solve) within 0.01 dB.
TEST(BodeMarkers, DrawnPeakReachesTheMarker) {
    BodeCurve drawn;
    const Analysed found =
        Markers(testing::ExampleCircuit("IFTRANS.DAT"), {100e3L, 2e6L}, 100, &drawn);
    const long double marker = found[MarkerKind::Peak].value;
    EXPECT_NEAR(static_cast<double>(marker), 22.05, 0.005);
    const long double highest = *std::max_element(drawn.gain.begin(), drawn.gain.end());
    EXPECT_LE(highest, marker);
    EXPECT_GE(highest, marker - 0.01L);
}

// The search between samples against closed forms: an RC low-pass (corner 1 kHz) and a
// resonance (5 kHz, Q 4, bandwidth 1.25 kHz), from one sample per decade and from a hundred.
TEST(MarkerSearch, FindsClosedFormPlacesFromSparseSamples) {
    const long double corner = 1000, centre = 5000, q = 4;
    const GainProbe lowPass = [&](long double f) {
        return -10 * std::log10(1 + (f / corner) * (f / corner));
    };
    const GainProbe resonance = [&](long double f) {
        const long double detune = q * (f / centre - centre / f);
        return -10 * std::log10(1 + detune * detune);
    };
    for (int pointsPerDecade : {1, 100}) {
        const auto grid = LogFrequencyGrid({1, 1e5L}, pointsPerDecade);
        std::vector<long double> low, band;
        for (long double f : grid) {
            low.push_back(lowPass(f));
            band.push_back(resonance(f));
        }
        const MarkerPlaces flat = FindMarkerPlaces(grid, low.data(), lowPass);
        EXPECT_EQ(flat.place, PeakPlace::FlatStart);
        ASSERT_TRUE(flat.upperHalfPower && !flat.lowerHalfPower);
        // Half power below the gain at 1 Hz (-4.3e-6 dB) rather than 0 dB: 1e-6 further up.
        EXPECT_NEAR(static_cast<double>(*flat.upperHalfPower / corner), 1 + 1e-6, 1e-9);
        const MarkerPlaces peak = FindMarkerPlaces(grid, band.data(), resonance);
        EXPECT_EQ(peak.place, PeakPlace::Inside);
        EXPECT_NEAR(static_cast<double>(peak.peakFrequency / centre), 1, 1e-8);
        EXPECT_NEAR(static_cast<double>(peak.peakGain), 0, 1e-15);
        ASSERT_TRUE(peak.lowerHalfPower && peak.upperHalfPower);
        EXPECT_NEAR(
            static_cast<double>((*peak.upperHalfPower - *peak.lowerHalfPower) / (centre / q)), 1,
            1e-12);
    }
}

} // namespace
} // namespace kelvor
