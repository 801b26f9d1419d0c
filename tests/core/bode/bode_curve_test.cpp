// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_curve.h"

#include "bode/bode_grid.h"
#include "core/timeresp/test_circuits.h"
#include "support/recording_messages.h"

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
    ASSERT_EQ(run.curve.size(), 801u);
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
