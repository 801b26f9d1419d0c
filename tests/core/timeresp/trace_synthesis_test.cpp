// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/trace_synthesis.h"

#include "core/timeresp/test_circuits.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"
#include "timeresp/time_response_kinds.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvor {
namespace {

constexpr long double Pi = 3.1415926535897932385L;

HarmonicTable Solve(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                    long double fundamental) {
    ResponseSolver solver;
    testing::RecordingMessages messages;
    return ComputeHarmonics(circuit, kind, groups, fundamental, solver, messages);
}

std::vector<int> Rows(const std::vector<long double>& sums, long double scale, int baseline) {
    std::vector<int> rows;
    for (long double sum : sums) {
        rows.push_back(TraceRow(sum, scale, baseline));
    }
    return rows;
}

// The first column where two traces part, or -1.
int FirstDifferentColumn(const std::vector<int>& a, const std::vector<int>& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            return static_cast<int>(i);
        }
    }
    return a.size() == b.size() ? -1 : static_cast<int>(std::min(a.size(), b.size()));
}

TEST(TraceRow, RoundsHalvesToEvenAndLimitsToThePicture) {
    EXPECT_EQ(TraceRow(0, 1.77L, 142), 242);
    EXPECT_EQ(TraceRow(-Pi / 4, 1.77L, 142), 103);
    EXPECT_EQ(TraceRow(Pi / 4, 1.77L, 142), 381);
    EXPECT_EQ(TraceRow(0.005L, 1, 142), 242);  // 242.5 goes to the even neighbour
    EXPECT_EQ(TraceRow(0.015L, 1, 142), 244);  // 243.5 likewise
    EXPECT_EQ(TraceRow(-100, 1.77L, 142), 47); // far above
    EXPECT_EQ(TraceRow(1e300L, 1e300L, 142), 437);
    EXPECT_EQ(TraceRow(0, 1, 141), 241);
}

TEST(SquareWaveTrace, AWireDrawsTheInputLevelsAndCrossesZeroOnTheEdge) {
    const HarmonicTable low = Solve(testing::Wire(), TimeResponseKind::SquareWave, 4, 1000);
    const std::vector<long double> sums = SquareWaveSums(low);
    ASSERT_EQ(sums.size(), 254u);
    // With Low resolution t = 0 lies on the rising edge, where every sine is 0.
    EXPECT_EQ(sums[0 - kSquareFirstT], 0);
    const std::vector<int> rows = Rows(sums, PlotScale(0, kSquareWaveUnitScale), 142);
    EXPECT_EQ(rows[0 - kSquareFirstT], 242);
    // Between the edges the +1 level; before the edge the -1 level.
    for (int t = 8; t <= 227; ++t) {
        EXPECT_EQ(rows[t - kSquareFirstT], 103) << "t = " << t;
    }
    for (int t = -26; t <= -8; ++t) {
        EXPECT_EQ(rows[t - kSquareFirstT], 381) << "t = " << t;
    }

    // Medium samples half a column later: the edge sample is no longer on the zero line.
    const HarmonicTable medium = Solve(testing::Wire(), TimeResponseKind::SquareWave, 16, 1000);
    EXPECT_LT(SquareWaveSums(medium)[0 - kSquareFirstT], -0.5L);
}

struct SquareWaveCase {
    const char* name;
    LoadedCircuit circuit;
    long double frequency;
    int32_t groups;
};

void ExpectFoldedSquareWaveSumsAsDirect(const std::vector<SquareWaveCase>& cases) {
    for (const SquareWaveCase& c : cases) {
        {
            const int32_t groups = c.groups;
            const HarmonicTable table =
                Solve(c.circuit, TimeResponseKind::SquareWave, groups, c.frequency);
            const std::vector<long double> folded = SquareWaveSums(table);
            const std::vector<long double> direct = SquareWaveSumsDirect(table);
            for (std::size_t i = 0; i < folded.size(); ++i) {
                // Both sum about 16384 terms of size up to 1; the direct angles carry the
                // rounding of k q for k up to 32767.
                ASSERT_NEAR(static_cast<double>(folded[i]), static_cast<double>(direct[i]), 1e-12)
                    << c.name << " groups " << groups << " column " << i;
            }
            const long double defaultGain = DefaultGraphGain(table);
            for (long double gain : {defaultGain, defaultGain + 10, defaultGain - 6}) {
                const long double scale = PlotScale(gain, kSquareWaveUnitScale);
                EXPECT_EQ(FirstDifferentColumn(Rows(folded, scale, 142), Rows(direct, scale, 142)),
                          -1)
                    << c.name << " groups " << groups;
            }
        }
    }
}

// The steady-state output of a first-order low-pass for a square wave of +/-1 with half-period
// H: the level rises from -tanh(H / 2RC) towards 1 in the first half.
long double RcSquareResponse(long double time, long double halfPeriod, long double rc) {
    long double phase = std::fmod(time, 2 * halfPeriod);
    if (phase < 0) {
        phase += 2 * halfPeriod;
    }
    const long double start = -std::tanh(halfPeriod / (2 * rc));
    if (phase < halfPeriod) {
        return 1 - (1 - start) * std::exp(-phase / rc);
    }
    return -(1 - (1 - start) * std::exp(-(phase - halfPeriod) / rc));
}

TEST(SquareWaveTrace, RcLowPassMatchesItsClosedFormWithinOnePixel) {
    const long double r = 1000, c = 100e-9L, rc = r * c;
    for (long double frequency : {1000.0L, 3000.0L}) {
        for (int32_t groups : {4, 64}) {
            const HarmonicTable table =
                Solve(testing::RcLowPass(r, c), TimeResponseKind::SquareWave, groups, frequency);
            const long double scale = PlotScale(0, kSquareWaveUnitScale);
            const std::vector<long double> sums = SquareWaveSums(table);
            const long double halfPeriod = 1 / (2 * frequency);
            const long double offset = SquareWaveTimeOffset(groups);
            for (int t = kSquareFirstT; t <= kSquareLastT; ++t) {
                const long double time = (t + offset) * halfPeriod / kSquareHalfPeriod;
                // The series sums to -(pi / 4) times the output.
                const long double expected = -(Pi / 4) * RcSquareResponse(time, halfPeriod, rc);
                EXPECT_LE(std::abs(TraceRow(sums[t - kSquareFirstT], scale, 142) -
                                   TraceRow(expected, scale, 142)),
                          1)
                    << frequency << " Hz, groups " << groups << ", t = " << t;
            }
        }
    }
}

TEST(SquareWaveTrace, FoldedSumDrawsTheSamePixelsAsTheDirectSum) {
    std::vector<SquareWaveCase> cases;
    for (int32_t groups : {4, 16}) {
        cases.push_back({"wire", testing::Wire(), 1000, groups});
        cases.push_back({"RC low-pass", testing::RcLowPass(1000, 100e-9L), 1000, groups});
        cases.push_back({"resonant", testing::Resonant(), 500, groups});
        cases.push_back({"sample", testing::SampleCircuit(), 200, groups});
    }
    ExpectFoldedSquareWaveSumsAsDirect(cases);
}

// Every direct sum of High costs a second: two circuits prove it.
TEST(SquareWaveTrace, WidestFoldedSumDrawsTheSamePixelsAsTheDirectSum) {
    ExpectFoldedSquareWaveSumsAsDirect({{"resonant", testing::Resonant(), 500, 64},
                                        {"sample", testing::SampleCircuit(), 200, 64}});
}

TEST(PulseTrace, AWireDrawsThePulseAtOneAndZeroBetween) {
    for (const PulseExpansion& expansion : kPulseExpansions) {
        const HarmonicTable table =
            Solve(testing::Wire(), TimeResponseKind::Pulse, expansion.groups, 5000);
        const std::vector<long double> sums = PulseSums(table, expansion.period, expansion.shift);
        ASSERT_EQ(sums.size(), 570u);
        const std::vector<int> rows = Rows(sums, PlotScale(0, kPulseUnitScale), 142);
        const int first = kPulseFirstTBeforeShift - expansion.shift;
        // The pulse is centred on t = 0 and lasts a hundredth of the period.
        EXPECT_EQ(rows[0 - first], 103) << expansion.label;
        // Half a period away the output rests at zero.
        const int away = std::min(expansion.period / 2, 539 - expansion.shift);
        EXPECT_EQ(rows[away - first], 242) << expansion.label;
    }
}

struct PulseCase {
    const char* name;
    LoadedCircuit circuit;
    long double repetition;
};

// Each circuit with each expansion whose groups lie in [fewestGroups, mostGroups].
void ExpectFoldedPulseSumsAsDirect(const std::vector<PulseCase>& cases, int32_t fewestGroups,
                                   int32_t mostGroups) {
    for (const PulseCase& c : cases) {
        for (const PulseExpansion& expansion : kPulseExpansions) {
            if (expansion.groups < fewestGroups || expansion.groups > mostGroups) {
                continue;
            }
            const HarmonicTable table =
                Solve(c.circuit, TimeResponseKind::Pulse, expansion.groups, c.repetition);
            const std::vector<long double> folded =
                PulseSums(table, expansion.period, expansion.shift);
            const std::vector<long double> direct =
                PulseSumsDirect(table, expansion.period, expansion.shift);
            for (std::size_t i = 0; i < folded.size(); ++i) {
                ASSERT_NEAR(static_cast<double>(folded[i]), static_cast<double>(direct[i]), 1e-12)
                    << c.name << " " << expansion.label << " column " << i;
            }
            const long double defaultGain = DefaultGraphGain(table);
            for (long double gain : {defaultGain, defaultGain + 10}) {
                const long double scale = PlotScale(gain, kPulseUnitScale);
                for (int baseline : {141, 142}) {
                    EXPECT_EQ(FirstDifferentColumn(Rows(folded, scale, baseline),
                                                   Rows(direct, scale, baseline)),
                              -1)
                        << c.name << " " << expansion.label;
                }
            }
        }
    }
}

TEST(PulseTrace, FoldedSumDrawsTheSamePixelsAsTheDirectSum) {
    ExpectFoldedPulseSumsAsDirect({{"wire", testing::Wire(), 5000},
                                   {"RC low-pass", testing::RcLowPass(1000, 20e-9L), 100},
                                   {"resonant", testing::Resonant(), 50},
                                   {"sample", testing::SampleCircuit(), 20}},
                                  0, 31);
}

// The direct sums of the wider expansions cost seconds: the sample circuit and the low-pass
// prove them.
TEST(PulseTrace, WidestFoldedSumDrawsTheSamePixelsAsTheDirectSum) {
    ExpectFoldedPulseSumsAsDirect({{"RC low-pass", testing::RcLowPass(1000, 20e-9L), 100}}, 32, 32);
    ExpectFoldedPulseSumsAsDirect({{"sample", testing::SampleCircuit(), 20}}, 32, 128);
}

// The steady-state output of a first-order low-pass for pulses of height 1 and width W every
// period T, with time 0 at the centre of a pulse.
long double RcPulseResponse(long double time, long double width, long double period,
                            long double rc) {
    const long double high = (1 - std::exp(-width / rc)) / (1 - std::exp(-period / rc));
    const long double low = high * std::exp(-(period - width) / rc);
    long double since = std::fmod(time + width / 2, period); // time since the leading edge
    if (since < 0) {
        since += period;
    }
    if (since < width) {
        return 1 - (1 - low) * std::exp(-since / rc);
    }
    return high * std::exp(-(since - width) / rc);
}

TEST(PulseTrace, RcLowPassMatchesItsClosedFormWithinOnePixel) {
    const long double width = 100e-6L;
    const long double repetition = 0.01L / width;
    for (const PulseExpansion& expansion : kPulseExpansions) {
        // A time constant of two pulse widths keeps the truncated series within a pixel.
        const long double rc = 2 * width;
        const HarmonicTable table = Solve(testing::RcLowPass(1000, rc / 1000),
                                          TimeResponseKind::Pulse, expansion.groups, repetition);
        const std::vector<long double> sums = PulseSums(table, expansion.period, expansion.shift);
        const long double scale = PlotScale(0, kPulseUnitScale);
        const int first = kPulseFirstTBeforeShift - expansion.shift;
        const long double period = 1 / repetition;
        for (int t = first; t < first + kPulseColumns; ++t) {
            const long double time = t * period / expansion.period;
            // The series sums to -(pi / 2) times the output.
            const long double expected = -(Pi / 2) * RcPulseResponse(time, width, period, rc);
            EXPECT_LE(
                std::abs(TraceRow(sums[t - first], scale, 142) - TraceRow(expected, scale, 142)), 1)
                << expansion.label << ", t = " << t;
        }
    }
}

TEST(PulseTrace, OnlyTheMagnitudeOfTheZeroFrequencyGainCounts) {
    // An inverting DC gain is still added with a positive sign: the raw gain is a magnitude.
    HarmonicTable table;
    table.kind = TimeResponseKind::Pulse;
    table.groups = 8;
    table.gain.assign(2048, 0.0L);
    table.phase.assign(2048, 0.0L);
    table.DcGain = 1;
    table.complete = true;
    const std::vector<long double> sums = PulseSums(table, 512, -5);
    EXPECT_NEAR(static_cast<double>(sums[0]), -static_cast<double>(Pi * 0.01L) / 2, 1e-18);
}

} // namespace
} // namespace kelvor
