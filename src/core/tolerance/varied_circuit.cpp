// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/varied_circuit.h"

namespace kelvor {

VariedCircuitSolver::VariedCircuitSolver(const ToleranceCircuit& circuit) : circuit_(circuit) {}

void VariedCircuitSolver::SetDeviations(const std::vector<long double>& deviations) {
    varied_.reset();
    varied_.emplace(DeviatedCircuit(circuit_.nominal, circuit_.values, deviations));
}

ResponsePoint VariedCircuitSolver::Solve(long double frequency) {
    ResponsePoint point;
    solver_.ComputeResponse(varied_ ? *varied_ : circuit_.nominal, frequency, ResponseForm::Display,
                            point, silent_);
    return point;
}

} // namespace kelvor
