// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/value_draws.h"

#include "core/timeresp/test_circuits.h"
#include "solver/component_models.h"
#include "support/circuit_builder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

using testing::CircuitBuilder;

TEST(ValueDraws, OverridesByDatafileLineAndTheValuesEachKindVaries) {
    const LoadedCircuit circuit =
        CircuitBuilder(1, 2, 3)
            .Add('R', {1, 2}, {100})
            .Add('R', {2, 3}, {100})
            .Add('M', {1, 3, 2, 3}, {1, 1, 1, 1e-6L, 1e-6L})
            .Add('B', {1, 2, 3}, {100, 1e-3L, 3e8L, 1e-12L, 1e-12L, 1e-12L})
            .circuit();
    ToleranceSettings settings = DefaultToleranceSettings();
    settings.linePercent[ComponentLineKey("R2 2   3 100")] = 0;
    settings.linePercent[ComponentLineKey("M 1 3 2 3 1 1 1")] = 30;
    const std::vector<std::string> lines = {"R1 1 2 100", "R2 2 3 100", "M 1 3 2 3 1 1 1",
                                            "B 1 2 3 100 1m"};
    const std::vector<TolerancedValue> values = TolerancedValues(circuit, lines, settings);
    std::vector<std::pair<std::size_t, int>> places;
    for (const TolerancedValue& value : values) {
        places.emplace_back(value.record, value.value);
    }
    // The second resistor is held exact by its override; the bipolar's Cbe is not varied, as
    // its model does not read it.
    const std::vector<std::pair<std::size_t, int>> expected = {
        {1, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 5}};
    EXPECT_EQ(places, expected);
    EXPECT_EQ(values[0].fraction, 0.01L);
    EXPECT_EQ(values[1].fraction, 0.3L);
    EXPECT_EQ(values.back().fraction, 0.1L);

    // A coupling factor of 1 never goes above it, and resistances stay at least Rmin.
    for (int run = 0; run < 200; ++run) {
        std::vector<long double> deviations;
        DrawDeviations(7, run, ToleranceDistribution::Uniform, values, deviations);
        const LoadedCircuit varied = DeviatedCircuit(circuit, values, deviations);
        EXPECT_LE(varied.records[3].values[2], 1);
        EXPECT_GE(varied.records[3].values[3], Rmin);
        EXPECT_GE(varied.records[3].values[4], Rmin);
    }
}

// Many runs of one value: the draws stay within the tolerance and have the spread the
// distribution gives it, within five standard errors.
TEST(ValueDraws, DistributionsWithinTheToleranceAndReproducible) {
    const std::vector<TolerancedValue> one = {{1, 0, 0.05L}};
    const int runs = 20000;
    for (ToleranceDistribution distribution :
         {ToleranceDistribution::Uniform, ToleranceDistribution::Gaussian}) {
        const bool uniform = distribution == ToleranceDistribution::Uniform;
        // Uniform: sigma = a / sqrt(3); Gaussian: a / 3, less the 0.25 % that clipping the
        // 0.27 % of draws beyond 3 sigma takes off (the clipped variance is 0.99501).
        const long double sigma =
            uniform ? 0.05L / std::sqrt(3.0L) : 0.05L / 3 * std::sqrt(0.99501L);
        long double sum = 0, squares = 0;
        std::vector<long double> draw, again;
        for (int run = 0; run < runs; ++run) {
            DrawDeviations(99, run, distribution, one, draw);
            DrawDeviations(99, run, distribution, one, again);
            ASSERT_EQ(draw, again);
            ASSERT_LE(std::fabs(draw[0]), 0.05L);
            sum += draw[0];
            squares += draw[0] * draw[0];
        }
        const long double mean = sum / runs;
        EXPECT_NEAR(mean, 0, 5 * sigma / std::sqrt(runs));
        // Five standard errors of a standard deviation, sigma / sqrt(2n) for a Gaussian and
        // less for the uniform distribution's lighter tails.
        EXPECT_NEAR(std::sqrt(squares / runs - mean * mean) / sigma, 1, 5 / std::sqrt(2.0L * runs));
    }
    std::vector<long double> first, second;
    DrawDeviations(1, 0, ToleranceDistribution::Uniform, one, first);
    DrawDeviations(1, 1, ToleranceDistribution::Uniform, one, second);
    EXPECT_NE(first, second);
}

} // namespace
} // namespace kelvor
