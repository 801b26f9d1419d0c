// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/noise_analysis.h"

#include "bode/adaptive_sampling.h"
#include "bode/significant_format.h"
#include "kelvor_error.h"
#include "noise/a_weighting.h"
#include "noise/band_integral.h"
#include "solver/floating_point_faults.h"
#include "solver/parallel_jobs.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>

namespace kelvor {
namespace {

// The band integrand's first two components are the output and input-referred powers; the
// generators follow.
constexpr int kOutputComponent = 0, kInputComponent = 1, kFirstGenerator = 2;

std::string FrequencyText(long double frequency) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6Lg", frequency);
    return text;
}

// The noise of every generator at one frequency, on one thread's solver.
class NoisePointSolver {
public:
    NoisePointSolver(const LoadedCircuit& circuit, const std::vector<NoiseGenerator>& generators)
        : solver_(circuit), generators_(generators) {}

    // Fills `powers` (V^2/Hz at the output, per generator) and returns the squared gain.
    long double Solve(long double frequency, std::vector<long double>& powers) {
        const NodalPoint& point = solver_.Solve(frequency);
        powers.resize(generators_.size());
        for (std::size_t index = 0; index < generators_.size(); ++index) {
            powers[index] = OutputNoisePower(generators_[index], solver_.Circuit(), point);
        }
        const long double gainSquared =
            point.gain.Re * point.gain.Re + point.gain.Im * point.gain.Im;
        if (!(gainSquared > 0)) {
            throw ComputationFault("Floating-point division by zero while referring the noise to "
                                   "the input at " +
                                   FrequencyText(frequency) + " Hz: the circuit's gain is zero.");
        }
        ThrowIfFloatingPointFault([frequency] {
            return "while computing the noise at " + FrequencyText(frequency) + " Hz.";
        });
        return gainSquared;
    }

    // The band integral's buffer of this thread.
    std::vector<long double> bandPowers;

private:
    NodalSolver solver_;
    const std::vector<NoiseGenerator>& generators_;
};

long double Sum(const std::vector<long double>& values) {
    long double sum = 0;
    for (long double value : values) {
        sum += value;
    }
    return sum;
}

// One point of the densities, solved on the worker's solver.
void SolvePoint(NoisePointSolver& solver, NoiseDensityPoint& point) {
    const long double gainSquared = solver.Solve(point.frequency, point.powers);
    const long double total = Sum(point.powers);
    point.output = std::sqrt(total);
    point.input = std::sqrt(total / gainSquared);
    point.gainDb = 10 * std::log10(gainSquared);
}

// A generator this far below the total lies under the plot's curves: its own shape is not
// refined.
constexpr long double kSmallestRefinedShare = 1e-4L;

// True when a density at the geometric middle lies farther from the straight line between its
// neighbours, on log-log axes, than a gain curve may. A density of zero breaks the curve there:
// no number of points draws it, so it is not refined.
bool Strays(long double low, long double high, long double middle) {
    if (!(low > 0 && high > 0 && middle > 0)) {
        return false;
    }
    const long double straying = 10 * std::log10(middle) - 5 * (std::log10(low) + std::log10(high));
    return std::fabs(straying) > kMostGainStraying;
}

bool MiddleStrays(const NoiseDensityPoint& low, const NoiseDensityPoint& high,
                  const NoiseDensityPoint& middle) {
    const long double total = middle.output * middle.output;
    if (Strays(low.output * low.output, high.output * high.output, total) ||
        Strays(low.input * low.input, high.input * high.input, middle.input * middle.input)) {
        return true;
    }
    for (std::size_t index = 0; index < middle.powers.size(); ++index) {
        if (middle.powers[index] >= kSmallestRefinedShare * total &&
            Strays(low.powers[index], high.powers[index], middle.powers[index])) {
            return true;
        }
    }
    return false;
}

// Halves every interval whose middle strays until none does, keeping every middle solved.
// Each round solves the open intervals' middles on the workers; a middle depends only on its
// frequency, so the points do not depend on the number of threads. False when stopped.
bool RefinePoints(std::vector<NoiseDensityPoint>& points,
                  std::vector<std::unique_ptr<NoisePointSolver>>& solvers,
                  const std::function<bool()>& goOn, bool& limitReached) {
    std::vector<bool> open(points.size() > 1 ? points.size() - 1 : 0, true);
    int added = 0;
    for (;;) {
        std::vector<std::size_t> intervals;
        for (std::size_t index = 0; index < open.size(); ++index) {
            const long double low = points[index].frequency, high = points[index + 1].frequency;
            if (open[index] && (high - low) > kNarrowestInterval * low) {
                intervals.push_back(index);
            }
        }
        if (intervals.empty()) {
            return true;
        }
        const int jobs = static_cast<int>(intervals.size());
        if (added + jobs > kMostAddedPoints) {
            limitReached = true;
            return true;
        }
        std::vector<NoiseDensityPoint> middles(intervals.size());
        const bool done = RunNumberedJobs(
            jobs, WorkerCount(static_cast<int>(solvers.size()), jobs),
            [&](int job, int worker) {
                const std::size_t index = intervals[static_cast<std::size_t>(job)];
                middles[static_cast<std::size_t>(job)].frequency =
                    std::sqrt(points[index].frequency * points[index + 1].frequency);
                SolvePoint(*solvers[worker], middles[static_cast<std::size_t>(job)]);
            },
            [&](int) { return goOn(); }, 8);
        if (!done) {
            return false;
        }
        added += jobs;
        std::vector<NoiseDensityPoint> merged;
        std::vector<bool> mergedOpen;
        std::size_t next = 0;
        for (std::size_t index = 0; index < points.size(); ++index) {
            merged.push_back(std::move(points[index]));
            if (next < intervals.size() && intervals[next] == index) {
                const bool strays = MiddleStrays(merged.back(), points[index + 1], middles[next]);
                merged.push_back(std::move(middles[next++]));
                mergedOpen.push_back(strays);
                mergedOpen.push_back(strays);
            } else if (index < open.size()) {
                mergedOpen.push_back(false);
            }
        }
        points = std::move(merged);
        open = std::move(mergedOpen);
    }
}

std::size_t SourceGenerator(const std::vector<NoiseGenerator>& generators, int line) {
    for (std::size_t index = 0; index < generators.size(); ++index) {
        if (generators[index].line == line && generators[index].kind == 'R') {
            return index;
        }
    }
    throw KelvorError("Line " + std::to_string(line) +
                      " is no resistor of the circuit: the noise figure needs the line of the "
                      "resistor that stands for the source.");
}

std::string Exponent(long double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4Le", value);
    return text;
}

} // namespace

NoiseAnalysis RunNoiseAnalysis(const LoadedCircuit& circuit, const std::vector<int>& sourceLines,
                               const NoiseSettings& settings, const NoiseRequest& request,
                               const AnalysisProgress& progress) {
    NoiseAnalysis analysis;
    analysis.generators = NoiseGenerators(circuit, sourceLines, settings);
    // Set in a statement of its own: from a conditional expression GCC 12 at -O2 believes the
    // optional's value may be read uninitialised.
    std::optional<std::size_t> source;
    if (request.sourceLine) {
        source = SourceGenerator(analysis.generators, *request.sourceLine);
    }
    if (!(request.band.start > 0 && request.band.end > request.band.start)) {
        throw KelvorError("The noise band must start above 0 Hz and end above its start.");
    }
    const int workers = WorkerCount(request.threads, INT_MAX);
    std::vector<std::unique_ptr<NoisePointSolver>> solvers;
    for (int worker = 0; worker < workers; ++worker) {
        solvers.push_back(std::make_unique<NoisePointSolver>(circuit, analysis.generators));
    }

    const int gridPoints = static_cast<int>(request.frequencies.size());
    analysis.points.resize(gridPoints);
    const bool gridDone = RunNumberedJobs(
        gridPoints, WorkerCount(workers, gridPoints),
        [&](int job, int worker) {
            NoiseDensityPoint& point = analysis.points[job];
            point.frequency = request.frequencies[job];
            SolvePoint(*solvers[worker], point);
        },
        [&](int finished) { return !progress || progress(finished, gridPoints); }, 8);
    if (!gridDone) {
        return analysis;
    }
    // While the middles are solved the grid's count is reported, so that a stop is still seen.
    if (request.refine &&
        !RefinePoints(
            analysis.points, solvers, [&] { return !progress || progress(gridPoints, gridPoints); },
            analysis.pointLimitReached)) {
        return analysis;
    }

    const int components = kFirstGenerator + static_cast<int>(analysis.generators.size());
    const BandIntegral integral = IntegrateOverBand(
        request.band, components, kFirstGenerator,
        [&](int worker, long double frequency, std::vector<long double>& values) {
            std::vector<long double>& powers = solvers[worker]->bandPowers;
            const long double gainSquared = solvers[worker]->Solve(frequency, powers);
            const long double weight =
                request.weighting == NoiseWeighting::A ? AWeightingPowerGain(frequency) : 1.0L;
            const long double total = Sum(powers);
            values[kOutputComponent] = total * weight;
            values[kInputComponent] = total / gainSquared * weight;
            for (std::size_t index = 0; index < powers.size(); ++index) {
                values[kFirstGenerator + index] = powers[index] * weight;
            }
        },
        workers,
        [&](int done, int expected) {
            return !progress || progress(gridPoints + done, gridPoints + expected);
        });
    if (!integral.complete) {
        return analysis;
    }

    BandNoise& band = analysis.band;
    const long double outputPower = integral.values[kOutputComponent];
    band.outputRms = std::sqrt(outputPower);
    band.inputRms = std::sqrt(integral.values[kInputComponent]);
    for (std::size_t index = 0; index < analysis.generators.size(); ++index) {
        const long double power = integral.values[kFirstGenerator + index];
        band.ranked.push_back({index, power, outputPower > 0 ? power / outputPower : 0});
    }
    std::stable_sort(
        band.ranked.begin(), band.ranked.end(),
        [](const NoiseContributor& a, const NoiseContributor& b) { return a.power > b.power; });
    if (request.referenceLevel) {
        if (!(outputPower > 0)) {
            throw KelvorError("The circuit makes no noise in the band: there is no "
                              "signal-to-noise ratio.");
        }
        band.signalToNoiseDb = 20 * std::log10(*request.referenceLevel / band.outputRms);
    }
    if (source) {
        const long double sourcePower = integral.values[kFirstGenerator + *source];
        if (!(sourcePower > 0)) {
            throw KelvorError("The source resistor's noise does not reach the output: there is "
                              "no noise figure.");
        }
        band.noiseFigureDb = 10 * std::log10(outputPower / sourcePower);
    }
    analysis.complete = true;
    return analysis;
}

std::vector<long double> SharesAt(const NoiseDensityPoint& point) {
    const long double total = point.output * point.output;
    std::vector<long double> shares;
    for (long double power : point.powers) {
        shares.push_back(total > 0 ? power / total : 0);
    }
    return shares;
}

std::string NoiseSummaryText(const NoiseAnalysis& analysis) {
    const BandNoise& band = analysis.band;
    std::string text = "Output noise: " + Exponent(band.outputRms) + " V rms\n" +
                       "Input noise: " + Exponent(band.inputRms) + " V rms\n";
    if (band.signalToNoiseDb) {
        text += "SNR: " + FormatSignificant(*band.signalToNoiseDb, 5, "dB", false) + "\n";
    }
    if (band.noiseFigureDb) {
        text += "Noise figure: " + FormatSignificant(*band.noiseFigureDb, 5, "dB", false) + "\n";
    }
    text += "Contributors:\n";
    int rank = 0;
    for (const NoiseContributor& contributor : band.ranked) {
        char share[32];
        std::snprintf(share, sizeof share, "%7.3Lf %%", contributor.share * 100);
        text += std::to_string(++rank) + ". " + analysis.generators[contributor.generator].Name() +
                ": " + Exponent(std::sqrt(contributor.power)) + " V rms, " + share + "\n";
    }
    return text;
}

} // namespace kelvor
