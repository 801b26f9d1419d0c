// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/worst_case.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kelvor {
namespace {

// A phase difference brought into [-180, 180], so that a step across the wrap counts as small.
long double PhaseStep(long double to, long double from) {
    return std::remainder(to - from, 360.0L);
}

int Sign(long double value) {
    return (value > 0) - (value < 0);
}

// A job moves this many values in turn, so that a circuit with many of them still reports
// progress and sees a stop often.
constexpr std::size_t kValuesPerJob = 32;

// What one worker keeps from job to job: its solver and the deviations it sets, all 0 between
// the moves of single values.
class WorkerState {
public:
    explicit WorkerState(const ToleranceCircuit& circuit)
        : circuit_(circuit), solver_(circuit), deviations_(circuit.values.size(), 0) {}

    // The signs of the sensitivities of values [begin, end) at one point.
    void Signs(const BodeCurve& nominal, std::size_t point, std::size_t begin, std::size_t end,
               std::vector<int>& gainSign, std::vector<int>& phaseSign) {
        const long double frequency = nominal.frequency[point];
        const std::size_t count = circuit_.values.size();
        deviations_.assign(count, 0);
        for (std::size_t index = begin; index < end; ++index) {
            deviations_[index] = kSensitivityStep;
            const ResponsePoint moved = At(frequency);
            deviations_[index] = 0;
            gainSign[point * count + index] = Sign(moved.Gain - nominal.gain[point]);
            phaseSign[point * count + index] = Sign(PhaseStep(moved.Phase, nominal.phase[point]));
        }
    }

    void Corners(const BodeCurve& nominal, std::size_t point, const std::vector<int>& gainSign,
                 const std::vector<int>& phaseSign, WorstCase& worst) {
        const long double frequency = nominal.frequency[point];
        const std::size_t count = circuit_.values.size();
        const auto corner = [&](const std::vector<int>& signs, int direction) {
            for (std::size_t index = 0; index < count; ++index) {
                deviations_[index] =
                    direction * signs[point * count + index] * circuit_.values[index].fraction;
            }
            return At(frequency);
        };
        const auto phase = [&](const ResponsePoint& at) {
            return nominal.unwrappedPhase[point] + PhaseStep(at.Phase, nominal.phase[point]);
        };
        worst.gainHigh[point] = corner(gainSign, 1).Gain;
        worst.gainLow[point] = corner(gainSign, -1).Gain;
        worst.phaseHigh[point] = phase(corner(phaseSign, 1));
        worst.phaseLow[point] = phase(corner(phaseSign, -1));
    }

private:
    ResponsePoint At(long double frequency) {
        solver_.SetDeviations(deviations_);
        return solver_.Solve(frequency);
    }

    const ToleranceCircuit& circuit_;
    VariedCircuitSolver solver_;
    std::vector<long double> deviations_;
};

} // namespace

int WorstCaseSolvesPerPoint(const ToleranceCircuit& circuit) {
    return static_cast<int>(circuit.values.size()) + 4;
}

bool SolveWorstCase(const ToleranceCircuit& circuit, const BodeCurve& nominal, WorstCase& worst,
                    const JobProgress& progress, int workers) {
    const std::size_t points = nominal.size();
    const std::size_t count = circuit.values.size();
    worst.gainLow.assign(points, 0);
    worst.gainHigh.assign(points, 0);
    worst.phaseLow.assign(points, 0);
    worst.phaseHigh.assign(points, 0);
    std::vector<std::unique_ptr<WorkerState>> state;
    for (int worker = 0; worker < workers; ++worker) {
        state.push_back(std::make_unique<WorkerState>(circuit));
    }
    std::vector<int> gainSign(points * count), phaseSign(points * count);

    // First every value moved alone at every point, a few values a job; then the four corners
    // of each point. Progress counts solves.
    const std::size_t jobsPerPoint = (count + kValuesPerJob - 1) / kValuesPerJob;
    const auto signJobs = static_cast<int>(points * jobsPerPoint);
    const long long moves = static_cast<long long>(points * count);
    JobProgress signProgress, cornerProgress;
    if (progress) {
        signProgress = [&](int finished) {
            return progress(static_cast<int>(moves * finished / std::max(signJobs, 1)));
        };
        cornerProgress = [&](int finished) {
            return progress(static_cast<int>(moves + 4LL * finished));
        };
    }
    const bool signsDone = RunNumberedJobs(
        signJobs, workers,
        [&](int job, int worker) {
            const std::size_t point = static_cast<std::size_t>(job) / jobsPerPoint;
            const std::size_t begin = static_cast<std::size_t>(job) % jobsPerPoint * kValuesPerJob;
            state[static_cast<std::size_t>(worker)]->Signs(
                nominal, point, begin, std::min(count, begin + kValuesPerJob), gainSign, phaseSign);
        },
        signProgress);
    if (!signsDone) {
        return false;
    }
    return RunNumberedJobs(
        static_cast<int>(points), workers,
        [&](int point, int worker) {
            state[static_cast<std::size_t>(worker)]->Corners(
                nominal, static_cast<std::size_t>(point), gainSign, phaseSign, worst);
        },
        cornerProgress);
}

} // namespace kelvor
