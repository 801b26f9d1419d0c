// SPDX-License-Identifier: GPL-3.0-or-later
// Noise densities and band totals against closed forms: a divider, an RC low pass (its band
// integral and kT/C), the input-referred noise of each active kind's generator, a common-
// emitter stage against the textbook shot-noise formula; shares adding up, stopping and faults.

#include "bode/adaptive_sampling.h"
#include "kelvor_error.h"
#include "noise/a_weighting.h"
#include "noise/noise_analysis.h"
#include "support/circuit_builder.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>

namespace kelvor {
namespace {

constexpr long double kKelvin = 300.15L; // 27 C
constexpr long double kFourKT = 4 * kBoltzmann * kKelvin;
// Closed forms in extended precision against a solve in extended precision.
constexpr double kExact = 1e-12;

NoiseRequest Request(std::vector<long double> frequencies, long double from, long double to) {
    NoiseRequest request;
    request.frequencies = std::move(frequencies);
    request.band = {from, to};
    return request;
}

NoiseAnalysis Analyse(const LoadedCircuit& circuit, const NoiseRequest& request,
                      const NoiseSettings& settings = {}) {
    std::vector<int> lines;
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        lines.push_back(static_cast<int>(index) + 3);
    }
    return RunNoiseAnalysis(circuit, lines, settings, request);
}

double Ratio(long double value, long double expected) {
    return static_cast<double>(value / expected);
}

TEST(NoiseAnalysis, DividerAndRcLowPassMatchTheirClosedForms) {
    const long double r1 = 10e3L, r2 = 4.7e3L;
    testing::CircuitBuilder divider(1, 2, 3);
    divider.Add('R', {1, 2}, {r1}).Add('R', {2, 3}, {r2});
    const NoiseAnalysis dividerNoise =
        Analyse(divider.circuit(), Request({10, 1e3L, 1e6L}, 10, 1e4L));
    const long double parallel = r1 * r2 / (r1 + r2);
    for (const NoiseDensityPoint& point : dividerNoise.points) {
        EXPECT_NEAR(Ratio(point.output, std::sqrt(kFourKT * parallel)), 1, kExact);
        EXPECT_NEAR(Ratio(point.input, std::sqrt(kFourKT * parallel) * (r1 + r2) / r2), 1, kExact);
    }
    EXPECT_NEAR(Ratio(dividerNoise.band.outputRms, std::sqrt(kFourKT * parallel * (1e4L - 10))), 1,
                1e-9);

    const long double r = 1e3L, c = 100e-9L,
                      corner = 1 / (2 * std::numbers::pi_v<long double> * r * c);
    testing::CircuitBuilder lowPass(1, 2, 3);
    lowPass.Add('R', {1, 2}, {r}).Add('C', {2, 3}, {c});
    const LoadedCircuit circuit = lowPass.circuit();
    const NoiseAnalysis rc = Analyse(circuit, Request({1, 100, corner, 1e4L, 1e6L}, 20, 20e3L));
    for (const NoiseDensityPoint& point : rc.points) {
        const long double x = point.frequency / corner;
        EXPECT_NEAR(Ratio(point.output * point.output, kFourKT * r / (1 + x * x)), 1, kExact);
    }
    const long double band =
        kFourKT * r * corner * (std::atan(20e3L / corner) - std::atan(20 / corner));
    EXPECT_NEAR(Ratio(rc.band.outputRms * rc.band.outputRms, band), 1, 1e-3);
    // Over a band far wider than the corner the total approaches kT/C.
    const NoiseAnalysis wide = Analyse(circuit, Request({1e3L}, 1e-3L, 1e12L));
    EXPECT_NEAR(Ratio(wide.band.outputRms, std::sqrt(kFourKT / 4 / c)), 1, 1e-3);
}

// A tank's noise peak between the points of a grid of one point per decade: refined, every
// interval is straight to a gain curve's limit against the passive circuit's closed form
// 4kT Re(Zout) (input shorted), and the drawn maximum is the true peak.
TEST(NoiseAnalysis, RefinementDrawsAPeakBetweenGridPoints) {
    const long double r = 1e3L, l = 1e-3L, coilR = 1, c = 253.3e-9L;
    testing::CircuitBuilder tank(1, 2, 3);
    tank.Add('R', {1, 2}, {r}).Add('L', {2, 3}, {l, coilR}).Add('C', {2, 3}, {c});
    const auto closedForm = [&](long double frequency) {
        const long double omega = 2 * std::numbers::pi_v<long double> * frequency;
        const std::complex<long double> admittance =
            1 / r + 1.0L / std::complex<long double>(coilR, omega * l) +
            std::complex<long double>(0, omega * c);
        return kFourKT * (1.0L / admittance).real();
    };
    NoiseRequest request = Request({130, 1.3e3L, 13e3L, 130e3L, 1.3e6L}, 130, 1.3e6L);
    const NoiseAnalysis grid = Analyse(tank.circuit(), request);
    request.refine = true;
    const NoiseAnalysis refined = Analyse(tank.circuit(), request);
    ASSERT_FALSE(refined.pointLimitReached);

    const auto level = [](long double power) { return 10 * std::log10(power); };
    long double drawnPeak = 0, gridPeak = 0;
    for (std::size_t index = 0; index + 1 < refined.points.size(); ++index) {
        const NoiseDensityPoint& low = refined.points[index];
        const NoiseDensityPoint& high = refined.points[index + 1];
        const long double middle = closedForm(std::sqrt(low.frequency * high.frequency));
        const long double line =
            (level(low.output * low.output) + level(high.output * high.output)) / 2;
        // Halving an interval that passed leaves a quarter of its straying: a margin of 2.
        EXPECT_LE(std::fabs(level(middle) - line), 2 * kMostGainStraying) << low.frequency;
    }
    for (const NoiseDensityPoint& point : refined.points) {
        drawnPeak = std::max(drawnPeak, point.output * point.output);
    }
    for (const NoiseDensityPoint& point : grid.points) {
        gridPeak = std::max(gridPeak, point.output * point.output);
    }
    // The true peak, by golden-section search on the closed form around the resonance.
    long double lowEnd = 5e3L, highEnd = 20e3L;
    const long double golden = (std::sqrt(5.0L) - 1) / 2;
    for (int step = 0; step < 200; ++step) {
        const long double a = highEnd - golden * (highEnd - lowEnd);
        const long double b = lowEnd + golden * (highEnd - lowEnd);
        if (closedForm(a) > closedForm(b)) {
            highEnd = b;
        } else {
            lowEnd = a;
        }
    }
    const long double truePeak = closedForm((lowEnd + highEnd) / 2);
    EXPECT_GT(level(truePeak) - level(gridPeak), 3); // the grid alone misses it
    EXPECT_NEAR(static_cast<double>(level(drawnPeak) - level(truePeak)), 0, 0.02);
}

TEST(NoiseAnalysis, EachActiveKindReferredToItsInput) {
    // Each device driven straight from the input: a generator in series with the input, or one
    // whose output current the gain divides back to the input, gives its density unchanged.
    struct Case {
        const char* name;
        testing::CircuitBuilder builder;
        const char* generator;
        long double inputDensity; // V^2/Hz
    };
    const long double gm = 5e-3L, ic = 1e-3L;
    std::vector<Case> cases = {
        {"valve grid", testing::CircuitBuilder(1, 2, 3), "grid", kFourKT * 2.5L / gm},
        {"FET channel", testing::CircuitBuilder(1, 2, 3), "channel", kFourKT * 2 / 3 / gm},
        {"bipolar collector", testing::CircuitBuilder(1, 2, 3), "collector shot",
         2 * kElementaryCharge * ic * (ThermalVoltage / ic) * (ThermalVoltage / ic)},
        {"op-amp en", testing::CircuitBuilder(1, 2, 3), "en", 10e-9L * 10e-9L},
    };
    cases[0].builder.Add('V', {1, 2, 3}, {gm, 20e3L, 0, 0, 0}).Add('R', {2, 3}, {10e3L});
    cases[1].builder.Add('F', {1, 2, 3}, {gm, 0, 0, 0}).Add('R', {2, 3}, {10e3L});
    cases[2].builder.Add('B', {1, 2, 3}, {100, ic, 1e18L, 0, 0, 0}).Add('R', {2, 3}, {10e3L});
    cases[3].builder.Add('A', {1, 2, 2}, {1e5L, 1e7L, 1e7L}).Add('R', {2, 3}, {10e3L});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NoiseAnalysis analysis = Analyse(c.builder.circuit(), Request({1000}, 10, 1e4L));
        const NoiseDensityPoint& point = analysis.points[0];
        const long double gainSquared = std::pow(10.0L, point.gainDb / 10);
        bool found = false;
        for (std::size_t index = 0; index < analysis.generators.size(); ++index) {
            if (analysis.generators[index].what == c.generator) {
                found = true;
                EXPECT_NEAR(Ratio(point.powers[index] / gainSquared, c.inputDensity), 1, 1e-9);
            }
        }
        EXPECT_TRUE(found);
    }
}

TEST(NoiseAnalysis, CommonEmitterStageMatchesTheTextbookFormula) {
    // e^2 = 4kT Rs + 2q Ib Rs^2 + (2q Ic / gm^2 + 4kT / (gm^2 RL)) (1 + Rs / r_pi)^2, for a
    // stage whose capacitances are negligible at the frequency.
    const long double rs = 2.2e3L, rl = 4.7e3L, beta = 150, ic = 2e-3L;
    testing::CircuitBuilder stage(1, 3, 4);
    stage.Add('R', {1, 2}, {rs})
        .Add('B', {2, 3, 4}, {beta, ic, 1e18L, 0, 0, 0})
        .Add('R', {3, 4}, {rl});
    const NoiseAnalysis analysis = Analyse(stage.circuit(), Request({1000}, 10, 1e4L));
    const long double gm = ic / ThermalVoltage, rPi = beta / gm;
    const long double q = kElementaryCharge;
    const long double back = (1 + rs / rPi) * (1 + rs / rPi);
    const long double expected = kFourKT * rs + 2 * q * (ic / beta) * rs * rs +
                                 (2 * q * ic / (gm * gm) + kFourKT / (gm * gm * rl)) * back;
    EXPECT_NEAR(Ratio(analysis.points[0].input * analysis.points[0].input, expected), 1, 1e-9);
}

TEST(NoiseAnalysis, SharesAddUpAndContributorsAreRanked) {
    testing::CircuitBuilder builder(1, 4, 5);
    builder.Add('R', {1, 2}, {1e3L})
        .Add('A', {2, 3, 4}, {1e5L, 1e7L, 1e6L})
        .Add('R', {3, 5}, {1e3L})
        .Add('R', {3, 4}, {100e3L})
        .Add('L', {4, 5}, {10e-3L, 50})
        .Add('C', {2, 5}, {1e-9L});
    NoiseRequest request = Request({10, 1e3L, 1e5L}, 20, 20e3L);
    request.sourceLine = 4; // the first resistor
    request.referenceLevel = 1;
    request.weighting = NoiseWeighting::A;
    NoiseSettings settings;
    settings.opAmps[5] = {4e-9L, 0.5e-12L};
    const NoiseAnalysis analysis = Analyse(builder.circuit(), request, settings);
    ASSERT_TRUE(analysis.complete);
    EXPECT_EQ(analysis.generators.size(), 4u + 3u); // three R and the L thermal; en, in+, in-
    for (const NoiseDensityPoint& point : analysis.points) {
        long double shares = 0;
        for (long double share : SharesAt(point)) {
            shares += share;
        }
        EXPECT_NEAR(static_cast<double>(shares), 1, 1e-15);
    }
    long double bandShares = 0, previous = 2;
    for (const NoiseContributor& contributor : analysis.band.ranked) {
        bandShares += contributor.share;
        EXPECT_LE(contributor.share, previous);
        previous = contributor.share;
    }
    EXPECT_NEAR(static_cast<double>(bandShares), 1, 1e-12);
    ASSERT_TRUE(analysis.band.signalToNoiseDb && analysis.band.noiseFigureDb);
    EXPECT_NEAR(static_cast<double>(*analysis.band.signalToNoiseDb),
                static_cast<double>(-20 * std::log10(analysis.band.outputRms)), 1e-12);
    EXPECT_GT(*analysis.band.noiseFigureDb, 0);
}

TEST(NoiseAnalysis, AWeightingFollowsTheStandardTable) {
    // IEC 61672-1 table values, given there to 0.1 dB at the exact frequencies 10^(n/10) that
    // the nominal ones (31.5 Hz, 16 kHz) stand for.
    const std::pair<int, double> table[] = {{15, -39.4}, {20, -19.1}, {30, 0.0},
                                            {36, 1.0},   {40, -2.5},  {42, -6.6}};
    for (const auto& [tenthDecade, decibels] : table) {
        const long double frequency = std::pow(10.0L, tenthDecade / 10.0L);
        EXPECT_NEAR(static_cast<double>(10 * std::log10(AWeightingPowerGain(frequency))), decibels,
                    0.05)
            << static_cast<double>(frequency);
    }
}

TEST(NoiseAnalysis, StopsWhenAskedAndReportsFaults) {
    testing::CircuitBuilder builder(1, 2, 3);
    builder.Add('R', {1, 2}, {1e3L}).Add('C', {2, 3}, {1e-9L});
    std::vector<long double> frequencies(200, 1000);
    int calls = 0;
    const NoiseAnalysis stopped =
        RunNoiseAnalysis(builder.circuit(), {4, 5}, {}, Request(frequencies, 10, 1e4L),
                         [&calls](int, int) { return ++calls < 3; });
    EXPECT_FALSE(stopped.complete);

    // A capacitance whose admittance overflows the extended range at the highest frequencies.
    testing::CircuitBuilder huge(1, 2, 3);
    huge.Add('R', {1, 2}, {1e3L}).Add('C', {2, 3}, {1e4931L});
    try {
        Analyse(huge.circuit(), Request({1e-3L, 1e6L}, 10, 1e4L));
        FAIL() << "no fault";
    } catch (const ComputationFault& fault) {
        EXPECT_NE(std::string(fault.what()).find("Floating-point overflow"), std::string::npos)
            << fault.what();
    }
    const auto refused = [&](NoiseSettings settings, NoiseRequest request) {
        EXPECT_THROW(Analyse(builder.circuit(), request, settings), KelvorError);
    };
    NoiseSettings frozen;
    frozen.temperatureCelsius = -300;
    refused(frozen, Request({1000}, 10, 1e4L));
    NoiseRequest capacitorSource = Request({1000}, 10, 1e4L);
    capacitorSource.sourceLine = 5;
    refused({}, capacitorSource);
}

} // namespace
} // namespace kelvor
