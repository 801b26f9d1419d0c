// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/band_integral.h"

#include "kelvor_error.h"
#include "solver/parallel_jobs.h"

#include <algorithm>
#include <cmath>

namespace kelvor {
namespace {

// Gauss-Kronrod 15-point abscissae on [-1, 1] (the positive half; the Gauss 7-point rule
// uses the odd-numbered ones) and their weights.
constexpr long double kKronrodNodes[8] = {
    0.991455371120812639206854697526329L, 0.949107912342758524526189684047851L,
    0.864864423359769072789712788640926L, 0.741531185599394439863864773280788L,
    0.586087235467691130294144845693013L, 0.405845151377397166906606412076961L,
    0.207784955007898467600689403773245L, 0.0L};
constexpr long double kKronrodWeights[8] = {
    0.022935322010529224963732008058970L, 0.063092092629978553290700663189204L,
    0.104790010322250183839876322541518L, 0.140653259715525918745189590510238L,
    0.169004726639267902826583426598550L, 0.190350578064785409913256402421014L,
    0.204432940075298892414161999234649L, 0.209482141084727828012999174891714L};
constexpr long double kGaussWeights[4] = {
    0.129484966168869693270611432679082L, 0.279705391489276667901467771423780L,
    0.381830050505118944950369775488975L, 0.417959183673469387755102040816327L};
constexpr int kPointsPerInterval = 15;
constexpr long double kIntervalsPerDecade = 10;
// Splitting stops here: below this width (in natural log of frequency) the integrand is as
// good as constant for any circuit of 100 nodes.
constexpr long double kNarrowestInterval = 1e-9L;
constexpr int kMostRounds = 40;

struct Interval {
    long double low = 0, high = 0; // natural logarithms of frequency
    std::vector<long double> kronrod;
    std::vector<long double> error; // |Kronrod - Gauss| of the controlled components
};

void EvaluateInterval(Interval& interval, int components, int controlled, int worker,
                      const BandIntegrand& integrand, std::vector<long double>& values) {
    const long double centre = (interval.low + interval.high) / 2;
    const long double half = (interval.high - interval.low) / 2;
    interval.kronrod.assign(components, 0);
    std::vector<long double> gauss(controlled, 0);
    for (int node = 0; node < kPointsPerInterval; ++node) {
        const int abscissa = node < 8 ? node : kPointsPerInterval - 1 - node;
        const long double offset = node < 8 ? -kKronrodNodes[abscissa] : kKronrodNodes[abscissa];
        const long double frequency = std::exp(centre + half * offset);
        integrand(worker, frequency, values);
        // d f = f d(ln f)
        for (int component = 0; component < components; ++component) {
            interval.kronrod[component] +=
                kKronrodWeights[abscissa] * values[component] * frequency;
        }
        if (abscissa % 2 == 1) {
            for (int component = 0; component < controlled; ++component) {
                gauss[component] += kGaussWeights[abscissa / 2] * values[component] * frequency;
            }
        }
    }
    interval.error.resize(controlled);
    for (int component = 0; component < components; ++component) {
        interval.kronrod[component] *= half;
    }
    for (int component = 0; component < controlled; ++component) {
        interval.error[component] =
            std::fabs(interval.kronrod[component] - gauss[component] * half);
    }
}

} // namespace

BandIntegral IntegrateOverBand(const FrequencyRange& band, int components, int controlled,
                               const BandIntegrand& integrand, int workers,
                               const IntegrationProgress& progress) {
    const long double low = std::log(band.start), high = std::log(band.end);
    const long double width = high - low;
    const int starting =
        std::max(1, static_cast<int>(std::ceil(width / std::log(10.0L) * kIntervalsPerDecade)));
    std::vector<Interval> pending(starting);
    for (int index = 0; index < starting; ++index) {
        pending[index].low = low + width * index / starting;
        pending[index].high = index + 1 == starting ? high : low + width * (index + 1) / starting;
    }
    std::vector<Interval> accepted;
    std::vector<std::vector<long double>> scratch(workers, std::vector<long double>(components));
    int evaluated = 0;
    for (int round = 0; !pending.empty(); ++round) {
        if (round == kMostRounds) {
            throw KelvorError("The noise band integral did not settle: the densities change too "
                              "sharply within the band.");
        }
        const int doneBefore = evaluated;
        const int expected = evaluated + static_cast<int>(pending.size()) * kPointsPerInterval;
        const bool finished = RunNumberedJobs(
            static_cast<int>(pending.size()),
            WorkerCount(workers, static_cast<int>(pending.size())),
            [&](int job, int worker) {
                EvaluateInterval(pending[job], components, controlled, worker, integrand,
                                 scratch[worker]);
            },
            [&](int finishedJobs) {
                return !progress ||
                       progress(doneBefore + finishedJobs * kPointsPerInterval, expected);
            });
        if (!finished) {
            return {};
        }
        evaluated = expected;
        // The tolerance is shared out by width, so that the whole band meets it.
        std::vector<long double> totals(controlled, 0);
        for (const auto* intervals : {&accepted, &pending}) {
            for (const Interval& interval : *intervals) {
                for (int component = 0; component < controlled; ++component) {
                    totals[component] += std::fabs(interval.kronrod[component]);
                }
            }
        }
        std::vector<Interval> next;
        for (Interval& interval : pending) {
            const long double share = (interval.high - interval.low) / width;
            bool settled = true;
            for (int component = 0; component < controlled; ++component) {
                settled = settled && interval.error[component] <=
                                         kBandRelativeTolerance * totals[component] * share;
            }
            settled = settled || interval.high - interval.low < kNarrowestInterval;
            if (settled) {
                accepted.push_back(std::move(interval));
            } else {
                const long double middle = (interval.low + interval.high) / 2;
                next.push_back({interval.low, middle, {}, {}});
                next.push_back({middle, interval.high, {}, {}});
            }
        }
        pending = std::move(next);
    }
    std::sort(accepted.begin(), accepted.end(),
              [](const Interval& a, const Interval& b) { return a.low < b.low; });
    BandIntegral result;
    result.values.assign(components, 0);
    for (const Interval& interval : accepted) {
        for (int component = 0; component < components; ++component) {
            result.values[component] += interval.kronrod[component];
        }
    }
    result.complete = true;
    return result;
}

} // namespace kelvor
