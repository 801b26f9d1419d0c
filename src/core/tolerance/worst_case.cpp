// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/worst_case.h"

#include "kelvor_error.h"
#include "nodal/nodal_solver.h"
#include "sensitivity/sensitivity.h"
#include "solver/floating_point_faults.h"

#include <cmath>
#include <memory>
#include <optional>

namespace kelvor {
namespace {

// The nodal solve that gives the signs, and the four corners.
constexpr int kSolvesPerPoint = 5;

// A phase difference brought into [-180, 180], so that a step across the wrap counts as small.
long double PhaseStep(long double to, long double from) {
    return std::remainder(to - from, 360.0L);
}

int Sign(long double value) {
    return (value > 0) - (value < 0);
}

// What one worker keeps from point to point: its solvers and the deviations and signs of the
// point it works on.
class WorkerState {
public:
    explicit WorkerState(const ToleranceCircuit& circuit)
        : circuit_(circuit), solver_(circuit), deviations_(circuit.values.size(), 0),
          gainSign_(circuit.values.size(), 0), phaseSign_(circuit.values.size(), 0) {
        try {
            nodal_.emplace(circuit.nominal);
        } catch (const KelvorError&) {
            // Every point then takes the signs from moving each value in turn.
        }
    }

    void Point(const BodeCurve& nominal, std::size_t point, WorstCase& worst) {
        if (!SignsFromSensitivities(nominal.frequency[point])) {
            SignsFromMoves(nominal, point);
        }
        Corners(nominal, point, worst);
    }

private:
    // The signs of d gain / d value and d phase / d value from the nominal's adjoint: one solve
    // for all the values. False when the nodal solve cannot give them at this frequency (a
    // node joined to nothing there).
    bool SignsFromSensitivities(long double frequency) {
        if (!nodal_) {
            return false;
        }
        const LoadedCircuit& circuit = circuit_.nominal;
        try {
            const NodalPoint& at = nodal_->Solve(frequency);
            for (std::size_t index = 0; index < circuit_.values.size(); ++index) {
                const TolerancedValue& value = circuit_.values[index];
                // The deviations scale the values, so the derivative by the deviation is p dG/dp.
                const Complex relative = RelativeGainSensitivity(
                    circuit, at, circuit.records[value.record], value.value);
                gainSign_[index] = Sign(relative.Re);
                phaseSign_[index] = Sign(relative.Im);
            }
        } catch (const KelvorError&) {
            return false;
        }
        if (RaisedFloatingPointFaults() != 0) {
            ClearFloatingPointFaults();
            return false;
        }
        return true;
    }

    // The signs from each value moved alone by a small step, one solve per value.
    void SignsFromMoves(const BodeCurve& nominal, std::size_t point) {
        const long double frequency = nominal.frequency[point];
        deviations_.assign(circuit_.values.size(), 0);
        for (std::size_t index = 0; index < circuit_.values.size(); ++index) {
            deviations_[index] = kSensitivityStep;
            const ResponsePoint moved = At(frequency);
            deviations_[index] = 0;
            gainSign_[index] = Sign(moved.Gain - nominal.gain[point]);
            phaseSign_[index] = Sign(PhaseStep(moved.Phase, nominal.phase[point]));
        }
    }

    void Corners(const BodeCurve& nominal, std::size_t point, WorstCase& worst) {
        const long double frequency = nominal.frequency[point];
        const auto corner = [&](const std::vector<int>& signs, int direction) {
            for (std::size_t index = 0; index < circuit_.values.size(); ++index) {
                deviations_[index] = direction * signs[index] * circuit_.values[index].fraction;
            }
            return At(frequency);
        };
        const auto phase = [&](const ResponsePoint& at) {
            return nominal.unwrappedPhase[point] + PhaseStep(at.Phase, nominal.phase[point]);
        };
        worst.gainHigh[point] = corner(gainSign_, 1).Gain;
        worst.gainLow[point] = corner(gainSign_, -1).Gain;
        worst.phaseHigh[point] = phase(corner(phaseSign_, 1));
        worst.phaseLow[point] = phase(corner(phaseSign_, -1));
    }

    ResponsePoint At(long double frequency) {
        solver_.SetDeviations(deviations_);
        return solver_.Solve(frequency);
    }

    const ToleranceCircuit& circuit_;
    VariedCircuitSolver solver_;
    std::optional<NodalSolver> nodal_;
    std::vector<long double> deviations_;
    std::vector<int> gainSign_, phaseSign_;
};

} // namespace

int WorstCaseSolvesPerPoint(const ToleranceCircuit&) {
    return kSolvesPerPoint;
}

bool SolveWorstCase(const ToleranceCircuit& circuit, const BodeCurve& nominal, WorstCase& worst,
                    const JobProgress& progress, int workers) {
    const std::size_t points = nominal.size();
    worst.gainLow.assign(points, 0);
    worst.gainHigh.assign(points, 0);
    worst.phaseLow.assign(points, 0);
    worst.phaseHigh.assign(points, 0);
    std::vector<std::unique_ptr<WorkerState>> state;
    for (int worker = 0; worker < workers; ++worker) {
        state.push_back(std::make_unique<WorkerState>(circuit));
    }
    JobProgress pointProgress;
    if (progress) {
        pointProgress = [&](int finished) { return progress(kSolvesPerPoint * finished); };
    }
    return RunNumberedJobs(
        static_cast<int>(points), workers,
        [&](int point, int worker) {
            state[static_cast<std::size_t>(worker)]->Point(nominal, static_cast<std::size_t>(point),
                                                           worst);
        },
        pointProgress);
}

} // namespace kelvor
