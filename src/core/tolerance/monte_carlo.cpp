// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/monte_carlo.h"

#include "bode/bode_curve.h"

#include <cmath>
#include <memory>

namespace kelvor {
namespace {

constexpr long double kTurn = 360;

} // namespace

std::vector<long double> RunCurves::GainsAt(int point) const {
    std::vector<long double> gains;
    for (int run = 0; run < runs; ++run) {
        gains.push_back(Gain(run)[point]);
    }
    return gains;
}

void AlignPhase(const std::vector<long double>& wrappedDegrees, long double nominalFirst,
                long double* aligned) {
    const std::vector<long double> unwrapped = UnwrapPhase(wrappedDegrees);
    if (unwrapped.empty()) {
        return;
    }
    const long double shift = kTurn * std::round((unwrapped.front() - nominalFirst) / kTurn);
    for (std::size_t index = 0; index < unwrapped.size(); ++index) {
        aligned[index] = unwrapped[index] - shift;
    }
}

bool SolveMonteCarloRuns(const ToleranceCircuit& circuit, const ToleranceSettings& settings,
                         const std::vector<long double>& frequencies, long double nominalFirstPhase,
                         RunCurves& curves, const JobProgress& progress, int workers) {
    const int points = static_cast<int>(frequencies.size());
    curves.runs = settings.runs;
    curves.points = points;
    curves.gain.assign(static_cast<std::size_t>(settings.runs) * frequencies.size(), 0);
    curves.phase.assign(curves.gain.size(), 0);
    curves.markers.assign(static_cast<std::size_t>(settings.runs), MarkerPlaces{});

    struct Worker {
        explicit Worker(const ToleranceCircuit& circuit) : solver(circuit) {}
        VariedCircuitSolver solver;
        std::vector<long double> deviations;
        std::vector<long double> phase;
    };
    std::vector<std::unique_ptr<Worker>> state;
    for (int worker = 0; worker < workers; ++worker) {
        state.push_back(std::make_unique<Worker>(circuit));
    }
    return RunNumberedJobs(
        settings.runs, workers,
        [&](int run, int worker) {
            Worker& own = *state[static_cast<std::size_t>(worker)];
            DrawDeviations(settings.seed, run, settings.distribution, circuit.values,
                           own.deviations);
            own.solver.SetDeviations(own.deviations);
            own.phase.resize(frequencies.size());
            long double* gain =
                curves.gain.data() + static_cast<std::size_t>(run) * frequencies.size();
            for (int point = 0; point < points; ++point) {
                const ResponsePoint response = own.solver.Solve(frequencies[point]);
                gain[point] = response.Gain;
                own.phase[point] = response.Phase;
            }
            AlignPhase(own.phase, nominalFirstPhase,
                       curves.phase.data() + static_cast<std::size_t>(run) * frequencies.size());
            if (points > 0) {
                curves.markers[static_cast<std::size_t>(run)] =
                    FindMarkerPlaces(frequencies, gain, [&](long double frequency) {
                        return own.solver.Solve(frequency).Gain;
                    });
            }
        },
        progress);
}

} // namespace kelvor
