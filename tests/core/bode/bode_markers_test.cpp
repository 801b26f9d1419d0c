// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_markers.h"

#include "bode/bode_grid.h"
#include "core/timeresp/test_circuits.h"
#include "support/recording_messages.h"

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

Analysed Markers(const LoadedCircuit& circuit, FrequencyRange range) {
    ResponseSolver solver;
    RecordingMessages messages;
    const BodeRun run = ComputeBodeCurve(circuit, LogFrequencyGrid(range, kDefaultPointsPerDecade),
                                         solver, messages);
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
    EXPECT_EQ(found[MarkerKind::Peak].frequency, 10); // a low-pass peaks at the range's start
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

} // namespace
} // namespace kelvor
