// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/varied_circuit.h"

namespace kelvor {

VariedCircuitSolver::VariedCircuitSolver(const ToleranceCircuit& circuit)
    : circuit_(circuit), varied_(circuit.nominal) {}

void VariedCircuitSolver::SetDeviations(const std::vector<long double>& deviations) {
    ApplyDeviations(circuit_.nominal, circuit_.values, deviations, varied_);
    // The solve plan holds the element values it was prepared from.
    PrepareSolvePlan(varied_);
}

ResponsePoint VariedCircuitSolver::Solve(long double frequency) {
    ResponsePoint point;
    solver_.ComputeResponse(varied_, frequency, ResponseForm::Display, point, silent_);
    return point;
}

} // namespace kelvor
