// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"
#include "solver/response.h"
#include "tolerance/value_draws.h"

#include <optional>
#include <vector>

namespace kelvor {

// A circuit with the values that vary from run to run.
struct ToleranceCircuit {
    LoadedCircuit nominal;
    std::vector<TolerancedValue> values;
};

// What one worker thread keeps from job to job: its own solver and the circuit of its current
// run. The solves keep quiet: the circuit's messages
// were shown when its nominal curve was computed.
class VariedCircuitSolver {
public:
    explicit VariedCircuitSolver(const ToleranceCircuit& circuit);
    // The solver keeps a reference: a temporary circuit would be gone before the first solve.
    explicit VariedCircuitSolver(const ToleranceCircuit&& circuit) = delete;

    // One deviation per toleranced value (see DeviatedCircuit): the circuit of the next run.
    void SetDeviations(const std::vector<long double>& deviations);
    // The display form: dB, degrees, ohms. Throws KelvorError as ComputeResponse does.
    ResponsePoint Solve(long double frequency);

private:
    const ToleranceCircuit& circuit_;
    std::optional<LoadedCircuit> varied_; // none before the first run: the nominal circuit
    ResponseSolver solver_;
    QuietMessages silent_;
};

} // namespace kelvor
