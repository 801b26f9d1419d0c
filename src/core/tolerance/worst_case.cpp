// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/worst_case.h"

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

class PointWorstCase {
public:
    explicit PointWorstCase(const ToleranceCircuit& circuit)
        : circuit_(circuit), solver_(circuit), deviations_(circuit.values.size(), 0) {}

    void Solve(const BodeCurve& nominal, std::size_t point, WorstCase& worst) {
        const long double frequency = nominal.frequency[point];
        const std::size_t count = circuit_.values.size();
        std::vector<int> gainSign(count), phaseSign(count);
        for (std::size_t index = 0; index < count; ++index) {
            deviations_.assign(count, 0);
            deviations_[index] = kSensitivityStep;
            const ResponsePoint moved = At(frequency);
            gainSign[index] = Sign(moved.Gain - nominal.gain[point]);
            phaseSign[index] = Sign(PhaseStep(moved.Phase, nominal.phase[point]));
        }
        const auto corner = [&](const std::vector<int>& signs, int direction) {
            for (std::size_t index = 0; index < count; ++index) {
                deviations_[index] = direction * signs[index] * circuit_.values[index].fraction;
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
    worst.gainLow.assign(points, 0);
    worst.gainHigh.assign(points, 0);
    worst.phaseLow.assign(points, 0);
    worst.phaseHigh.assign(points, 0);
    std::vector<std::unique_ptr<PointWorstCase>> state;
    for (int worker = 0; worker < workers; ++worker) {
        state.push_back(std::make_unique<PointWorstCase>(circuit));
    }
    return RunNumberedJobs(
        static_cast<int>(points), workers,
        [&](int point, int worker) {
            state[static_cast<std::size_t>(worker)]->Solve(nominal, static_cast<std::size_t>(point),
                                                           worst);
        },
        progress);
}

} // namespace kelvor
