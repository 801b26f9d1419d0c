// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/circuit_solve_job.h"

#include "app/state/app_state.h"
#include "kelvor_error.h"

#include <utility>

namespace kelvor::app {

std::optional<CircuitSolveJob> CircuitSolveJob::Load(AppState& state) {
    try {
        return CircuitSolveJob(
            std::make_shared<const LoadedCircuit>(LoadCircuit(state.workingFolder, state.circuit)),
            state.solver.Test1Trace, state.messages);
    } catch (const KelvorError& fault) {
        state.messages.ShowError(fault.what());
        return std::nullopt;
    }
}

CircuitSolveJob::CircuitSolveJob(std::shared_ptr<const LoadedCircuit> circuit, bool test1Trace,
                                 MessageSink& windowMessages)
    : circuit_(std::move(circuit)), test1Trace_(test1Trace),
      where_(NeedsSequentialSolve(*circuit_, test1Trace) ? CalculationThread::Window
                                                         : CalculationThread::Worker),
      windowMessages_(&windowMessages) {}

ResponseSolver CircuitSolveJob::MakeSolver() const {
    ResponseSolver solver;
    solver.Test1Trace = test1Trace_;
    return solver;
}

MessageSink& CircuitSolveJob::messages() const {
    // Stateless, so one serves every worker at once.
    static QuietMessages quiet;
    return where_ == CalculationThread::Window ? *windowMessages_ : quiet;
}

} // namespace kelvor::app
