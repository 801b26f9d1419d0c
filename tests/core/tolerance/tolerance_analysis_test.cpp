// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_analysis.h"

#include "bode/bode_grid.h"
#include "bode/bode_markers.h"
#include "core/timeresp/test_circuits.h"
#include "kelvor_error.h"
#include "messages.h"
#include "support/circuit_builder.h"
#include "tolerance/tolerance_report.h"
#include "tolerance/varied_circuit.h"
#include "tolerance/worst_case.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>
#include <sstream>

namespace kelvor {
namespace {

using testing::RcLowPass;
using testing::SampleCircuit;

ToleranceSettings Settings(int runs, std::initializer_list<std::pair<char, long double>> kinds) {
    ToleranceSettings settings = DefaultToleranceSettings();
    settings.runs = runs;
    for (const auto& [kind, percent] : kinds) {
        settings.kindPercent[kind] = percent;
    }
    return settings;
}

ToleranceAnalysis Analyse(const LoadedCircuit& circuit, const ToleranceSettings& settings,
                          FrequencyRange range, int pointsPerDecade, int threads = 0) {
    ToleranceRun run = RunToleranceAnalysis(circuit, {}, settings,
                                            LogFrequencyGrid(range, pointsPerDecade), {}, threads);
    EXPECT_TRUE(run.complete);
    return std::move(run.analysis);
}

bool SameBits(const std::vector<long double>& a, const std::vector<long double>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], 10) != 0) { // the 80 bits of the value, not the padding
            return false;
        }
    }
    return true;
}

TEST(ToleranceAnalysis, ZeroTolerancesGiveTheNominalCurveBitForBit) {
    ToleranceSettings settings = Settings(40, {});
    for (auto& [kind, percent] : settings.kindPercent) {
        percent = 0;
    }
    for (ToleranceDistribution distribution :
         {ToleranceDistribution::Uniform, ToleranceDistribution::Gaussian}) {
        settings.distribution = distribution;
        const ToleranceAnalysis analysis = Analyse(SampleCircuit(), settings, {10, 10000}, 20);
        const auto& gain = analysis.nominal.gain;
        const auto& phase = analysis.nominal.unwrappedPhase;
        EXPECT_EQ(analysis.toleranced, 0);
        for (const auto* curve :
             {&analysis.gain.lowest, &analysis.gain.highest, &analysis.gain.low5,
              &analysis.gain.high95, &analysis.worstCase.gainLow, &analysis.worstCase.gainHigh}) {
            EXPECT_TRUE(SameBits(*curve, gain));
        }
        for (const auto* curve : {&analysis.phase.lowest, &analysis.phase.highest,
                                  &analysis.phase.low5, &analysis.phase.high95,
                                  &analysis.worstCase.phaseLow, &analysis.worstCase.phaseHigh}) {
            EXPECT_TRUE(SameBits(*curve, phase));
        }
        for (const MarkerSpread& marker : analysis.markers) {
            EXPECT_EQ(marker.spread.lowest, marker.spread.highest) << marker.name;
            EXPECT_EQ(marker.spread.sigma, 0) << marker.name;
        }
    }
}

TEST(ToleranceAnalysis, SameSeedSameResultsOnOneAndTwoThreads) {
    ToleranceSettings settings = Settings(120, {});
    settings.distribution = ToleranceDistribution::Gaussian;
    settings.seed = 20261207;
    const ToleranceAnalysis one = Analyse(SampleCircuit(), settings, {10, 10000}, 30, 1);
    const ToleranceAnalysis two = Analyse(SampleCircuit(), settings, {10, 10000}, 30, 2);
    EXPECT_TRUE(SameBits(one.runs.gain, two.runs.gain));
    EXPECT_TRUE(SameBits(one.runs.phase, two.runs.phase));
    for (const auto& [a, b] :
         {std::pair(&one.gain, &two.gain), std::pair(&one.phase, &two.phase)}) {
        EXPECT_TRUE(SameBits(a->lowest, b->lowest) && SameBits(a->highest, b->highest) &&
                    SameBits(a->low5, b->low5) && SameBits(a->high95, b->high95));
    }
    EXPECT_TRUE(SameBits(one.worstCase.gainHigh, two.worstCase.gainHigh));
    EXPECT_TRUE(SameBits(one.worstCase.phaseLow, two.worstCase.phaseLow));

    settings.seed += 1;
    const ToleranceAnalysis other = Analyse(SampleCircuit(), settings, {10, 10000}, 30, 2);
    EXPECT_FALSE(SameBits(one.runs.gain, other.runs.gain));
}

// fc = 1/(2 pi R C) with R and C uniform within +-a of their nominal values: 1/R then has the
// mean ln((1+a)/(1-a)) / (2a R0) and the mean square 1/((1-a^2) R0^2), and the same for C.
TEST(ToleranceAnalysis, RcCornerSpreadFollowsTheAnalyticDistribution) {
    const long double a = 0.05L;
    const long double nominal = 1000;
    const LoadedCircuit circuit = RcLowPass(1000, 1 / (2 * std::numbers::pi_v<long double> * 1e6L));
    const int runs = 2000;
    const ToleranceAnalysis analysis =
        Analyse(circuit, Settings(runs, {{'R', 5}, {'C', 5}}), {1, 3000}, 50);
    const MarkerSpread& corner = analysis.markers[3];
    ASSERT_EQ(corner.name, "\u22123 dB high");
    ASSERT_EQ(corner.spread.found, runs);

    const long double meanFactor = std::log((1 + a) / (1 - a)) / (2 * a);
    const long double mean = nominal * meanFactor * meanFactor;
    const long double meanSquare = nominal * nominal / ((1 - a * a) * (1 - a * a));
    const long double sigma = std::sqrt(meanSquare - mean * mean);
    // Five standard errors: sigma/sqrt(n) for the mean; about sigma sqrt((kurtosis-1)/4n), with
    // the kurtosis of a sum of two uniforms (2.4), for the standard deviation. The grid's
    // straight-line crossings add some 3e-4 of the frequency.
    EXPECT_NEAR(corner.spread.mean / mean, 1, 5 * sigma / mean / std::sqrt(runs) + 3e-4);
    EXPECT_NEAR(corner.spread.sigma / sigma, 1, 5 * std::sqrt(1.4 / (4 * runs)));
    // The extremes: fewer than one seed in a million leaves no run within 1.3 % of them, since a
    // run lies within e of the highest with probability (1-a)^2 e^2 / (8 a^2).
    const long double highest = nominal / ((1 - a) * (1 - a));
    const long double lowest = nominal / ((1 + a) * (1 + a));
    EXPECT_LE(corner.spread.highest, highest * (1 + 3e-4));
    EXPECT_GE(corner.spread.highest, highest * (1 - 0.013));
    EXPECT_GE(corner.spread.lowest, lowest * (1 - 3e-4));
    EXPECT_LE(corner.spread.lowest, lowest * (1 + 0.013));
}

TEST(ToleranceAnalysis, NominalLiesInsideTheEnvelopeAndTheBandInsideIt) {
    const ToleranceAnalysis analysis = Analyse(SampleCircuit(), Settings(200, {}), {10, 10000}, 40);
    const auto inOrder = [](const Envelope& envelope, const std::vector<long double>& nominal,
                            std::size_t i) {
        return envelope.lowest[i] <= envelope.low5[i] && envelope.low5[i] <= envelope.high95[i] &&
               envelope.high95[i] <= envelope.highest[i] && envelope.lowest[i] <= nominal[i] &&
               nominal[i] <= envelope.highest[i];
    };
    int spread = 0;
    for (std::size_t i = 0; i < analysis.nominal.size(); ++i) {
        EXPECT_TRUE(inOrder(analysis.gain, analysis.nominal.gain, i)) << i;
        EXPECT_TRUE(inOrder(analysis.phase, analysis.nominal.unwrappedPhase, i)) << i;
        EXPECT_LE(analysis.worstCase.gainLow[i], analysis.nominal.gain[i]) << i;
        EXPECT_GE(analysis.worstCase.gainHigh[i], analysis.nominal.gain[i]) << i;
        spread += analysis.gain.highest[i] > analysis.gain.lowest[i];
    }
    EXPECT_EQ(spread, static_cast<int>(analysis.nominal.size()));
}

TEST(ToleranceAnalysis, MaskYieldOfWideAndNarrowMasks) {
    ToleranceSettings settings = Settings(100, {});
    const ToleranceAnalysis plain = Analyse(SampleCircuit(), settings, {10, 10000}, 20);
    const long double low = *std::min_element(plain.gain.lowest.begin(), plain.gain.lowest.end());
    const long double high =
        *std::max_element(plain.gain.highest.begin(), plain.gain.highest.end());
    const long double nominalTop =
        *std::max_element(plain.nominal.gain.begin(), plain.nominal.gain.end());
    struct Case {
        GainMask mask;
        long double yield;
        bool nominalInside;
    } cases[] = {
        // Wider than the envelope everywhere.
        {{{10, 10000, low - 1, high + 1}}, 1, true},
        // Narrower than the nominal from 900 to 1100 Hz: its lowest limit lies above it.
        {{{900, 1100, nominalTop + 1, std::nullopt}}, 0, false},
        // Limits given on one side only, far away: every run passes.
        {{{10, 100, std::nullopt, 1000}, {1000, 10000, -1000, std::nullopt}}, 1, true},
    };
    for (const Case& c : cases) {
        settings.mask = c.mask;
        const ToleranceAnalysis analysis = Analyse(SampleCircuit(), settings, {10, 10000}, 20);
        EXPECT_TRUE(analysis.mask.checked);
        EXPECT_EQ(analysis.mask.yield, c.yield);
        EXPECT_EQ(analysis.mask.nominalInside, c.nominalInside);
        EXPECT_EQ(analysis.mask.failingRuns.size(), c.yield == 1 ? 0u : 100u);
    }
}

TEST(ToleranceAnalysis, ProgressCountsEverySolveAndCanStop) {
    const auto grid = LogFrequencyGrid({10, 10000}, 20);
    const ToleranceSettings settings = Settings(50, {});
    int last = 0;
    int total = 0;
    const ToleranceRun whole =
        RunToleranceAnalysis(SampleCircuit(), {}, settings, grid, [&](int done, int all) {
            EXPECT_GE(done, last);
            last = done;
            total = all;
            return true;
        });
    EXPECT_TRUE(whole.complete);
    EXPECT_EQ(last, total);
    // The nominal curve's grid, then every run and the worst-case solves at the nominal's
    // points: the one that gives the signs of all six values, and four corners.
    const int points = static_cast<int>(grid.size());
    const int adapted = static_cast<int>(whole.analysis.nominal.size());
    EXPECT_EQ(total, points + 50 * adapted + adapted * (1 + 4));

    for (int stopAt : {1, points + 1, total - 1}) {
        const ToleranceRun stopped = RunToleranceAnalysis(
            SampleCircuit(), {}, settings, grid, [&](int done, int) { return done < stopAt; });
        EXPECT_FALSE(stopped.complete) << stopAt;
    }
}

// The nominal row is the analyser's markers, value for value; each run's markers are refined
// with its own solves, so five points per decade give the spreads of two hundred.
TEST(ToleranceAnalysis, MarkersAsExactAsTheAnalysersAtAnyDensity) {
    const LoadedCircuit circuit = testing::ExampleCircuit("IFTRANS.DAT");
    const FrequencyRange range{100e3L, 2e6L};
    const ToleranceSettings settings = Settings(24, {});
    ResponseSolver solver;
    QuietMessages quiet;
    const BodeRun curve = ComputeBodeCurve(circuit, LogFrequencyGrid(range, 100), solver, quiet);
    const std::vector<BodeMarker> markers = FindMarkers(curve.curve, circuit, solver);
    const ToleranceAnalysis dense = Analyse(circuit, settings, range, 200);
    const ToleranceAnalysis sparse = Analyse(circuit, settings, range, 5);
    const ToleranceAnalysis nominal = Analyse(circuit, settings, range, 100);
    const struct {
        std::size_t spread;
        MarkerKind kind;
        bool frequency;
    } rows[] = {{0, MarkerKind::Peak, false},
                {1, MarkerKind::Peak, true},
                {2, MarkerKind::LowerHalfPower, true},
                {3, MarkerKind::UpperHalfPower, true}};
    for (const auto& row : rows) {
        const BodeMarker& marker = markers[static_cast<std::size_t>(row.kind)];
        ASSERT_EQ(marker.kind, row.kind);
        const Spread& spread = nominal.markers[row.spread].spread;
        ASSERT_TRUE(spread.nominal && marker.found) << marker.name;
        EXPECT_EQ(*spread.nominal, row.frequency ? marker.frequency : marker.value) << marker.name;
        const Spread& fine = dense.markers[row.spread].spread;
        const Spread& coarse = sparse.markers[row.spread].spread;
        ASSERT_EQ(fine.found, settings.runs);
        ASSERT_EQ(coarse.found, settings.runs);
        // The refinement's own precision: some 1e-9 of a peak's frequency, far less elsewhere.
        const double tolerance = row.frequency ? 1e-8 * static_cast<double>(fine.mean) : 1e-9;
        EXPECT_NEAR(static_cast<double>(coarse.mean), static_cast<double>(fine.mean), tolerance);
        EXPECT_NEAR(static_cast<double>(coarse.lowest), static_cast<double>(fine.lowest),
                    tolerance);
        EXPECT_NEAR(static_cast<double>(coarse.highest), static_cast<double>(fine.highest),
                    tolerance);
    }
}

TEST(ToleranceAnalysis, RefusesWhatItCannotRun) {
    const LoadedCircuit sample = SampleCircuit();
    RecordList records = sample.records;
    records[2].kind = 'X';
    const LoadedCircuit damaged = LoadedCircuit::Prepared(
        records, {sample.NodeIn, sample.NodeOut, sample.NodeCom, sample.NoNodes});
    ToleranceSettings huge = Settings(kMostToleranceRuns, {});
    const auto grid = LogFrequencyGrid({10, 1e6L}, 200); // 1001 points
    EXPECT_THROW(RunToleranceAnalysis(damaged, {}, Settings(10, {}), grid), KelvorError);
    EXPECT_THROW(RunToleranceAnalysis(SampleCircuit(), {}, huge, grid), KelvorError);

    // 1500 resistors: every solve stamps all of them again, so 1000 runs at 401 points are
    // too much work, while the worst case takes five solves at a point however many there are.
    testing::CircuitBuilder many(1, 2, 3);
    many.Add('R', {1, 2}, {1}).Add('R', {2, 3}, {1});
    for (int index = 2; index < 1500; ++index) {
        many.Add('R', {1, 3}, {1e6L});
    }
    const auto fewPoints = LogFrequencyGrid({10, 1e6L}, 80); // 401 points
    try {
        RunToleranceAnalysis(many.circuit(), {}, Settings(1000, {}), fewPoints);
        ADD_FAILURE() << "the solves' work was not counted";
    } catch (const KelvorError& error) {
        EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
    }
    int total = 0;
    const ToleranceRun one =
        RunToleranceAnalysis(many.circuit(), {}, Settings(1, {}), {1000}, [&](int, int all) {
            total = all;
            return true;
        });
    EXPECT_TRUE(one.complete);
    EXPECT_EQ(total, 1 + 1 + 5);
}

// The worst case is the corner of the tolerance box that its signs pick: where each value moves
// the response one way across its whole range (an RC band-pass, tolerances of 1 and 2 %), no
// corner of all 2^n lies beyond it. Linearisation leaves the box's curvature: at 2 % that is a
// few 1e-4 of the spread, far below what one value at its wrong end would cost. With a node
// joined to nothing (a capacitance of zero) the nodal solve fails and the signs come from
// moving each value in turn: the same bound holds.
TEST(WorstCase, NoCornerOfTheToleranceBoxLiesBeyondIt) {
    const auto bandPass = [](bool isolatedNode) {
        testing::CircuitBuilder builder(1, 2, 6);
        builder.Add('C', {1, 3}, {100e-9L})
            .Add('R', {3, 6}, {10e3L})
            .Add('R', {3, 4}, {4.7e3L})
            .Add('C', {4, 6}, {10e-9L})
            .Add('R', {4, 2}, {10e3L})
            .Add('C', {2, 6}, {1e-9L})
            .Add('R', {2, 6}, {100e3L});
        if (isolatedNode) {
            builder.Add('C', {3, 5}, {0});
        }
        return builder.WithNoNodes(6).circuit();
    };
    const ToleranceSettings settings = Settings(1, {{'R', 1}, {'C', 2}});
    for (const bool isolatedNode : {false, true}) {
        SCOPED_TRACE(isolatedNode ? "signs from moves" : "signs from the adjoint");
        const LoadedCircuit circuit = bandPass(isolatedNode);
        const ToleranceAnalysis analysis = Analyse(circuit, settings, {10, 1e6L}, 4);
        const ToleranceCircuit varied{circuit, TolerancedValues(circuit, {}, settings)};
        const std::size_t count = varied.values.size();
        ASSERT_LE(count, 10u);
        VariedCircuitSolver solver(varied);
        const BodeCurve& nominal = analysis.nominal;
        for (std::size_t point = 0; point < nominal.size(); ++point) {
            long double gainLow = nominal.gain[point], gainHigh = gainLow;
            long double phaseLow = nominal.unwrappedPhase[point], phaseHigh = phaseLow;
            for (unsigned corner = 0; corner < (1u << count); ++corner) {
                std::vector<long double> deviations(count);
                for (std::size_t index = 0; index < count; ++index) {
                    const long double fraction = varied.values[index].fraction;
                    deviations[index] = (corner >> index & 1) != 0 ? fraction : -fraction;
                }
                solver.SetDeviations(deviations);
                const ResponsePoint at = solver.Solve(nominal.frequency[point]);
                const long double phase = nominal.unwrappedPhase[point] +
                                          std::remainder(at.Phase - nominal.phase[point], 360.0L);
                gainLow = std::min(gainLow, at.Gain);
                gainHigh = std::max(gainHigh, at.Gain);
                phaseLow = std::min(phaseLow, phase);
                phaseHigh = std::max(phaseHigh, phase);
            }
            const long double gainSlack = 1e-3L * (gainHigh - gainLow) + 1e-12L;
            const long double phaseSlack = 1e-3L * (phaseHigh - phaseLow) + 1e-12L;
            EXPECT_GE(analysis.worstCase.gainHigh[point], gainHigh - gainSlack) << point;
            EXPECT_LE(analysis.worstCase.gainLow[point], gainLow + gainSlack) << point;
            EXPECT_GE(analysis.worstCase.phaseHigh[point], phaseHigh - phaseSlack) << point;
            EXPECT_LE(analysis.worstCase.phaseLow[point], phaseLow + phaseSlack) << point;
        }
    }
}

// Far below the corner of a 1 MHz low-pass the gains and phases are tiny: every one of the
// fifteen columns stays apart from its neighbours by at least two spaces.
TEST(ToleranceReport, TableColumnsStayApartForTinyValues) {
    const LoadedCircuit circuit = RcLowPass(1000, 1 / (2 * std::numbers::pi_v<long double> * 1e6L));
    const std::string table = ToleranceTableText(Analyse(circuit, Settings(5, {}), {1, 10}, 3));
    // Fields are what two spaces or more set apart; one space may stand inside a field.
    const auto fieldsApart = [](const std::string& line) {
        int fields = 0;
        for (std::size_t at = line.find_first_not_of(' '); at != std::string::npos;) {
            ++fields;
            const std::size_t gap = line.find("  ", at);
            at = gap == std::string::npos ? gap : line.find_first_not_of(' ', gap);
        }
        return fields;
    };
    std::istringstream lines(table);
    int rows = 0;
    for (std::string line; std::getline(lines, line); ++rows) {
        EXPECT_EQ(fieldsApart(line), 15) << line;
    }
    EXPECT_EQ(rows, 5); // the heading and 4 frequencies
}

} // namespace
} // namespace kelvor
