// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_curve.h"

#include "bode/adaptive_sampling.h"

#include <cmath>

namespace kelvor {
namespace {

constexpr long double kTurn = 360;

} // namespace

std::vector<long double> UnwrapPhase(const std::vector<long double>& phaseDegrees) {
    std::vector<long double> unwrapped(phaseDegrees.size());
    long double shift = 0;
    for (std::size_t index = 0; index < phaseDegrees.size(); ++index) {
        if (index > 0) {
            const long double step = phaseDegrees[index] + shift - unwrapped[index - 1];
            shift -= kTurn * std::round(step / kTurn);
        }
        unwrapped[index] = phaseDegrees[index] + shift;
    }
    return unwrapped;
}

std::vector<long double> GroupDelay(const std::vector<long double>& frequency,
                                    const std::vector<long double>& unwrappedDegrees) {
    const std::size_t count = frequency.size();
    std::vector<long double> delay(count, 0.0L);
    if (count < 2) {
        return delay;
    }
    std::vector<long double> logFrequency(count);
    for (std::size_t index = 0; index < count; ++index) {
        logFrequency[index] = std::log(frequency[index]);
    }
    // d(phase)/d(ln f) at one point, from three neighbours a, b, c that may be unevenly spaced.
    auto slope = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t at) {
        const long double x0 = logFrequency[a] - logFrequency[at];
        const long double x1 = logFrequency[b] - logFrequency[at];
        const long double x2 = logFrequency[c] - logFrequency[at];
        // Derivative at 0 of the parabola through the three points (Lagrange form).
        const long double w0 = (x1 + x2) / ((x0 - x1) * (x0 - x2));
        const long double w1 = (x0 + x2) / ((x1 - x0) * (x1 - x2));
        const long double w2 = (x0 + x1) / ((x2 - x0) * (x2 - x1));
        return -(w0 * unwrappedDegrees[a] + w1 * unwrappedDegrees[b] + w2 * unwrappedDegrees[c]);
    };
    for (std::size_t index = 0; index < count; ++index) {
        long double perLog = 0;
        if (count == 2) {
            perLog =
                (unwrappedDegrees[1] - unwrappedDegrees[0]) / (logFrequency[1] - logFrequency[0]);
        } else if (index == 0) {
            perLog = slope(0, 1, 2, 0);
        } else if (index + 1 == count) {
            perLog = slope(count - 3, count - 2, count - 1, index);
        } else {
            perLog = slope(index - 1, index, index + 1, index);
        }
        // tau = -dphi/domega with phi in radians: -(dphase/360) / df, and df = f d(ln f).
        delay[index] = -perLog / (kTurn * frequency[index]);
    }
    return delay;
}

BodeCurve MakeBodeCurve(std::vector<long double> frequencies,
                        const std::vector<ResponsePoint>& points) {
    BodeCurve curve;
    curve.frequency = std::move(frequencies);
    for (const ResponsePoint& point : points) {
        curve.gain.push_back(point.Gain);
        curve.phase.push_back(point.Phase);
        curve.zin.push_back(point.Zin);
        curve.zout.push_back(point.Zout);
        curve.zinComplex.push_back(point.ZinComplex);
        curve.zoutComplex.push_back(point.ZoutComplex);
    }
    curve.unwrappedPhase = UnwrapPhase(curve.phase);
    curve.groupDelay = GroupDelay(curve.frequency, curve.unwrappedPhase);
    return curve;
}

const char* PointLimitWarning() {
    return "The curve reached the most points it may have before it was smooth everywhere: "
           "between some points the response may differ from the lines drawn.";
}

BodeRun ComputeBodeCurve(const LoadedCircuit& circuit, std::vector<long double> frequencies,
                         ResponseSolver& solver, MessageSink& messages,
                         const SolveProgress& progress, int threads) {
    SampledResponse sampled =
        SampleAdaptively(circuit, frequencies, solver, messages, progress, threads);
    BodeRun run;
    run.complete = sampled.complete;
    run.pointLimitReached = sampled.pointLimitReached;
    if (sampled.complete) {
        run.curve = MakeBodeCurve(std::move(sampled.frequency), sampled.points);
    }
    return run;
}

BodeRun ComputeBodeRange(const LoadedCircuit& circuit, const FrequencyRange& range,
                         int32_t pointsPerDecade, ResponseSolver& solver, MessageSink& messages,
                         const SolveProgress& progress, int threads) {
    return ComputeBodeCurve(circuit, LogFrequencyGrid(range, pointsPerDecade), solver, messages,
                            progress, threads);
}

} // namespace kelvor
