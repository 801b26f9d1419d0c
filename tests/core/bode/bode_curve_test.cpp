// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_curve.h"

#include "bode/adaptive_sampling.h"

#include "bode/bode_grid.h"
#include "core/timeresp/test_circuits.h"
#include "support/recording_messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>

namespace kelvor {
namespace {

using testing::RecordingMessages;

BodeRun Compute(const LoadedCircuit& circuit, FrequencyRange range, int pointsPerDecade,
                int threads, const SolveProgress& progress = {}) {
    ResponseSolver solver;
    RecordingMessages messages;
    return ComputeBodeCurve(circuit, LogFrequencyGrid(range, pointsPerDecade), solver, messages,
                            progress, threads);
}

TEST(BodeGrid, RangesReadLikeTheSweepsOwn) {
    struct Case {
        const char* start;
        const char* end;
        bool valid;
    } cases[] = {{"10", "1M", true},          {"2.5k", "2.6k", true}, {"1k", "1k", false},
                 {"0", "1k", false},          {"-1", "1k", false},    {"1k", "100", false},
                 {"x", "1k", false},          {"10", "", false},      {"1p", "790000000G", true},
                 {"1p", "1300000000G", false}}; // 30 decades at most
    for (const Case& c : cases) {
        EXPECT_EQ(ParseFrequencyRange(c.start, c.end).has_value(), c.valid)
            << c.start << " to " << c.end;
    }
}

TEST(BodeGrid, RangeProblemsNameTheBoxAndTheReason) {
    const struct {
        const char* start;
        const char* end;
        const char* problem;
    } cases[] = {{" ", "1k", "Start (Hz): a frequency is needed"},
                 {"abc", "1k", "Start (Hz): \"abc\" is not a frequency"},
                 {"-1", "1k", "Start (Hz): must be above 0 Hz"},
                 {"1k", "1e99999", "End (Hz): \"1e99999\" is not a frequency"},
                 {"1k", "100", "End (Hz): must be above the start"},
                 {"1e-4900", "1e4900", "End (Hz): the range may span at most 30 decades"}};
    for (const auto& c : cases) {
        const FrequencyRangeReading reading =
            ReadFrequencyRange(c.start, c.end, "Start (Hz)", "End (Hz)");
        EXPECT_FALSE(reading.range);
        EXPECT_EQ(reading.problem, c.problem);
    }
    EXPECT_EQ(PointsPerDecadeProblem(2001, "--ppd"), "--ppd: 2001 is outside 1 to 2000");
    EXPECT_FALSE(PointsPerDecadeProblem(2000, "--ppd"));
}

// A view a quarter of the computed decades wide gets four times the density, within limits.
TEST(BodeGrid, ZoomedViewKeepsThePointsOfTheWhole) {
    const FrequencyRange whole{10, 100e3L};
    const struct {
        FrequencyRange view;
        int perDecade, expected;
    } cases[] = {{{100, 1000}, 100, 400},
                 {whole, 100, 100},
                 {{10, 1e6L}, 100, 100},
                 {{1000, 1001}, 100, 2000}};
    for (const auto& c : cases) {
        EXPECT_EQ(PointsPerDecadeForView(whole, c.view, c.perDecade), c.expected)
            << static_cast<double>(c.view.start);
    }
}

TEST(BodeGrid, EvenLogStepsWithBothEndsExact) {
    struct Case {
        long double start, end;
        int perDecade;
        std::size_t points;
    } cases[] = {{10, 10000, 100, 301},
                 {10, 10000, 2000, 6001},
                 {1, 2, 10, 5},
                 {100, 100.001L, 100, 2},
                 {1, 1e6L, 5000, 12001}}; // 5000 is held at 2000
    for (const Case& c : cases) {
        const auto grid = LogFrequencyGrid({c.start, c.end}, c.perDecade);
        ASSERT_EQ(grid.size(), c.points) << c.start << " " << c.end << " " << c.perDecade;
        EXPECT_EQ(grid.front(), c.start);
        EXPECT_EQ(grid.back(), c.end);
        const long double step = grid[1] / grid[0];
        for (std::size_t i = 1; i < grid.size(); ++i) {
            EXPECT_NEAR(static_cast<double>(grid[i] / grid[i - 1] / step), 1.0, 1e-15);
        }
    }
}

TEST(BodeCurve, EveryPointIsTheSolversOwnOnBothCores) {
    const LoadedCircuit circuit = testing::SampleCircuit();
    const BodeRun run = Compute(circuit, {10, 100000}, 200, 2);
    ASSERT_TRUE(run.complete);
    ASSERT_GE(run.curve.size(), 801u); // the grid, and more where the curve bends
    ResponseSolver solver;
    RecordingMessages messages;
    ResponsePoint point;
    for (std::size_t i = 0; i < run.curve.size(); ++i) {
        solver.ComputeResponse(circuit, run.curve.frequency[i], ResponseForm::Display, point,
                               messages);
        // The 80 significant bits; the padding of a long double is not part of the value.
        ASSERT_EQ(std::memcmp(&run.curve.gain[i], &point.Gain, 10), 0) << i;
        ASSERT_EQ(std::memcmp(&run.curve.phase[i], &point.Phase, 10), 0) << i;
        ASSERT_EQ(std::memcmp(&run.curve.zin[i], &point.Zin, 10), 0) << i;
        ASSERT_EQ(std::memcmp(&run.curve.zout[i], &point.Zout, 10), 0) << i;
    }
}

// Between neighbouring points, the straight lines a plot draws on its log-frequency axis stay
// within 0.01 dB and 0.1 degrees of independent solves, at the middle and a third of the way.
// The grids are far too coarse for these circuits on their own; on one thread and on two the
// points are the same.
TEST(BodeCurve, AdaptivePointsKeepTheDrawnLinesOnTheResponse) {
    const struct {
        const char* example;
        FrequencyRange range;
        int pointsPerDecade;
    } cases[] = {{"IFTRANS.DAT", {100e3L, 2e6L}, 100},
                 {"TWINTNOT.DAT", {1, 5000}, 5},
                 {"SKLOWPAS.DAT", {10, 100e3L}, 2},
                 {"TUNEDIF.DAT", {100e3L, 2e6L}, 10}};
    ResponseSolver solver;
    RecordingMessages messages;
    for (const auto& c : cases) {
        const LoadedCircuit circuit = testing::ExampleCircuit(c.example);
        const BodeRun run = Compute(circuit, c.range, c.pointsPerDecade, 2);
        ASSERT_TRUE(run.complete && !run.pointLimitReached) << c.example;
        const BodeCurve& curve = run.curve;
        const BodeRun single = Compute(circuit, c.range, c.pointsPerDecade, 1);
        ASSERT_EQ(single.curve.frequency, curve.frequency) << c.example;
        int worst = 0;
        for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
            if (curve.frequency[i + 1] / curve.frequency[i] - 1 <= kNarrowestInterval) {
                continue; // the bottom of the notch: a jump to the plot
            }
            for (long double share : {0.5L, 1.0L / 3}) {
                const long double logLow = std::log(curve.frequency[i]);
                const long double logHigh = std::log(curve.frequency[i + 1]);
                ResponsePoint point;
                solver.ComputeResponse(circuit, std::exp(logLow + share * (logHigh - logLow)),
                                       ResponseForm::Display, point, messages);
                const long double gain =
                    curve.gain[i] + share * (curve.gain[i + 1] - curve.gain[i]);
                const long double phase =
                    curve.unwrappedPhase[i] +
                    share * (curve.unwrappedPhase[i + 1] - curve.unwrappedPhase[i]);
                const long double phaseOff = std::remainder(point.Phase - phase, 360.0L);
                const bool off = std::fabs(point.Gain - gain) > 0.01L || std::fabs(phaseOff) > 0.1L;
                EXPECT_FALSE(off) << c.example << " between " << curve.frequency[i] << " and "
                                  << curve.frequency[i + 1] << ": " << point.Gain - gain << " dB, "
                                  << phaseOff << " degrees";
                worst += off;
            }
            if (worst > 3) {
                break;
            }
        }
    }
}

// The IF transformer's group delay peaks near 50 us where its phase turns fast; at every point
// it matches -dphi/domega from two solves a millionth of the frequency apart.
TEST(BodeCurve, GroupDelayFollowsTheSharpResonance) {
    const LoadedCircuit circuit = testing::ExampleCircuit("IFTRANS.DAT");
    const BodeRun run = Compute(circuit, {100e3L, 2e6L}, 100, 2);
    ASSERT_TRUE(run.complete);
    ResponseSolver solver;
    RecordingMessages messages;
    long double largest = 0;
    std::vector<long double> reference;
    for (long double frequency : run.curve.frequency) {
        ResponsePoint below, above;
        const long double step = frequency * 1e-6L;
        solver.ComputeResponse(circuit, frequency - step, ResponseForm::Display, below, messages);
        solver.ComputeResponse(circuit, frequency + step, ResponseForm::Display, above, messages);
        reference.push_back(-std::remainder(above.Phase - below.Phase, 360.0L) / 360 / (2 * step));
        largest = std::max(largest, reference.back());
    }
    EXPECT_NEAR(static_cast<double>(largest), 50e-6, 10e-6);
    const long double drawnPeak =
        *std::max_element(run.curve.groupDelay.begin(), run.curve.groupDelay.end());
    EXPECT_NEAR(static_cast<double>(drawnPeak / largest), 1, 0.005);
    for (std::size_t i = 0; i < reference.size(); ++i) {
        // 0.5 % of the peak: the parabola through neighbours that the phase limit keeps close.
        ASSERT_NEAR(static_cast<double>(run.curve.groupDelay[i]), static_cast<double>(reference[i]),
                    static_cast<double>(0.005L * largest))
            << run.curve.frequency[i] << " Hz";
    }
}

TEST(BodeCurve, RcGroupDelayMatchesTheFormula) {
    // tau = RC / (1 + (omega RC)^2); the difference quotient at 100 points per decade is
    // accurate to about 1e-4, so 0.1 % leaves room without hiding a wrong factor.
    const long double r = 1000, c = 100e-9L;
    const BodeRun run = Compute(testing::RcLowPass(r, c), {10, 1e6L}, 100, 2);
    ASSERT_TRUE(run.complete);
    for (std::size_t i = 0; i < run.curve.size(); ++i) {
        const long double omegaRc =
            2 * std::numbers::pi_v<long double> * run.curve.frequency[i] * r * c;
        const long double expected = r * c / (1 + omegaRc * omegaRc);
        EXPECT_NEAR(static_cast<double>(run.curve.groupDelay[i] / expected), 1.0, 1e-3)
            << run.curve.frequency[i] << " Hz";
    }
}

TEST(BodeCurve, UnwrappingRemovesWholeTurnsOnly) {
    struct Case {
        std::vector<long double> wrapped, unwrapped;
    } cases[] = {
        {{170, -170, -150}, {170, 190, 210}},
        {{-170, 170, 150}, {-170, -190, -210}},
        {{-90, -179, 179, 90, 0, -90, 179}, {-90, -179, -181, -270, -360, -450, -541}},
        {{10, 20, 30}, {10, 20, 30}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnwrapPhase(c.wrapped), c.unwrapped);
    }
}

TEST(BodeCurve, StopsWhenProgressSaysSo) {
    int reports = 0;
    const BodeRun run = Compute(testing::SampleCircuit(), {1, 1e6L}, 2000, 2,
                                [&](int solved) { return ++reports < 10 && solved < 12001; });
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(run.curve.size(), 0u);
    EXPECT_EQ(reports, 10);
}

} // namespace
} // namespace kelvor
