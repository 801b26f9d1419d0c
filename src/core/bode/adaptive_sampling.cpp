// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/adaptive_sampling.h"

#include "messages.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kelvor {
namespace {

constexpr long double kTurn = 360;

// The signed magnitude's straying in dB, when both ends and the middle share a sign; a sign
// change is a jump through zero that the plot draws as one.
bool MagnitudeStrays(long double low, long double high, long double middle) {
    const bool sameSign =
        (low > 0 && high > 0 && middle > 0) || (low < 0 && high < 0 && middle < 0);
    if (!sameSign) {
        return false;
    }
    const long double line = 10 * std::log10(std::fabs(low * high));
    return std::fabs(20 * std::log10(std::fabs(middle)) - line) > kMostGainStraying;
}

// Whole turns removed, so the result lies within half a turn of zero.
long double WithinHalfTurn(long double degrees) {
    return degrees - kTurn * std::round(degrees / kTurn);
}

struct Interval {
    std::size_t low; // index into the samples solved so far
    std::size_t high;
};

} // namespace

bool StraysFromLine(const ResponsePoint& low, const ResponsePoint& high,
                    const ResponsePoint& middle) {
    if (std::fabs(middle.Gain - (low.Gain + high.Gain) / 2) > kMostGainStraying) {
        return true;
    }
    const bool phases =
        low.Gain > kNoOutputGain && high.Gain > kNoOutputGain && middle.Gain > kNoOutputGain;
    // The plot joins the unwrapped phases, which step by less than half a turn.
    const long double line = low.Phase + WithinHalfTurn(high.Phase - low.Phase) / 2;
    if (phases && std::fabs(WithinHalfTurn(middle.Phase - line)) > kMostPhaseStraying) {
        return true;
    }
    return MagnitudeStrays(low.Zin, high.Zin, middle.Zin) ||
           MagnitudeStrays(low.Zout, high.Zout, middle.Zout);
}

SampledResponse SampleAdaptively(const LoadedCircuit& circuit, const std::vector<long double>& grid,
                                 ResponseSolver& solver, MessageSink& messages,
                                 const SolveProgress& progress, int threads) {
    SampledResponse sampled;
    FrequencySolve first =
        SolveFrequencies(circuit, grid, ResponseForm::Display, solver, messages, progress, threads);
    if (!first.complete) {
        return sampled;
    }
    std::vector<long double> frequency = grid;
    std::vector<ResponsePoint> points = std::move(first.points);
    const int gridSize = static_cast<int>(grid.size());
    const SolveProgress held = [&](int) { return !progress || progress(gridSize); };

    std::vector<Interval> pending;
    for (std::size_t index = 0; index + 1 < grid.size(); ++index) {
        pending.push_back({index, index + 1});
    }
    QuietMessages quiet;
    int added = 0;
    while (!pending.empty()) {
        std::vector<long double> middles;
        std::vector<Interval> tested;
        for (const Interval& interval : pending) {
            const long double ratio = frequency[interval.high] / frequency[interval.low];
            if (ratio - 1 > kNarrowestInterval) {
                // The geometric middle, without a product that could leave the range.
                middles.push_back(frequency[interval.low] * std::sqrt(ratio));
                tested.push_back(interval);
            }
        }
        // The intervals keep the order they were found in, which the threads do not change.
        if (added + static_cast<long long>(middles.size()) > kMostAddedPoints) {
            sampled.pointLimitReached = true;
            middles.resize(static_cast<std::size_t>(kMostAddedPoints - added));
            tested.resize(middles.size());
        }
        if (middles.empty()) {
            break;
        }
        FrequencySolve solve =
            SolveFrequencies(circuit, middles, ResponseForm::Display, solver, quiet, held, threads);
        if (!solve.complete) {
            return sampled;
        }
        pending.clear();
        for (std::size_t index = 0; index < tested.size(); ++index) {
            const Interval interval = tested[index];
            const ResponsePoint& middle = solve.points[index];
            if (StraysFromLine(points[interval.low], points[interval.high], middle)) {
                frequency.push_back(middles[index]);
                points.push_back(middle);
                ++added;
                pending.push_back({interval.low, points.size() - 1});
                pending.push_back({points.size() - 1, interval.high});
            }
        }
        if (sampled.pointLimitReached) {
            break;
        }
    }

    std::vector<std::size_t> order(frequency.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return frequency[a] < frequency[b]; });
    for (std::size_t index : order) {
        sampled.frequency.push_back(frequency[index]);
        sampled.points.push_back(points[index]);
    }
    sampled.complete = true;
    return sampled;
}

} // namespace kelvor
